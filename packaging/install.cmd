@echo off
rem Installs Brellin for the current user, without administrator rights:
rem the programs and the sample configuration go into
rem %LOCALAPPDATA%\Programs\Brellin, and the add-in is registered for this
rem user alone. The library must match the mail client: a 64-bit mail client
rem loads only the 64-bit one. When the installed client does not tell its
rem bitness, both are installed.
rem usage: install.cmd [x86 | x64 | both]
setlocal EnableExtensions
set "source=%~dp0"
set "target=%LOCALAPPDATA%\Programs\Brellin"
if "%LOCALAPPDATA%"=="" (
  echo Brellin: LOCALAPPDATA is not set; cannot tell where to install.
  exit /b 1
)
set "bits=%~1"
if "%bits%"=="" call :detect
if /i "%bits%"=="x86" goto :install
if /i "%bits%"=="x64" goto :install
if /i "%bits%"=="both" goto :install
echo usage: install.cmd [x86 ^| x64 ^| both]
exit /b 2

:install
echo Installing Brellin into "%target%" for %USERNAME% (mail client: %bits%)
if not exist "%target%\" mkdir "%target%"
if not exist "%target%\" goto :failed
rem A previous installation's libraries go first, so that no registration
rem of another bitness stays behind.
call :remove Brellin.dll
if errorlevel 1 goto :failed
call :remove Brellin64.dll
if errorlevel 1 goto :failed
copy /y "%source%Brellin.exe" "%target%\Brellin.exe" >nul
if errorlevel 1 goto :failed
rem The configuration and the disclaimer are the user's once installed: a
rem reinstallation keeps them.
if not exist "%target%\Brellin.ini" copy "%source%Brellin.ini" "%target%\Brellin.ini" >nul
if not exist "%target%\Brellin.ini" goto :failed
if not exist "%target%\BrellinD.txt" copy "%source%BrellinD.txt" "%target%\BrellinD.txt" >nul
if not exist "%target%\BrellinD.txt" goto :failed
if /i not "%bits%"=="x86" call :add x64 Brellin64.dll
if errorlevel 1 goto :failed
if /i not "%bits%"=="x64" call :add x86 Brellin.dll
if errorlevel 1 goto :failed
echo Brellin is installed. Start the mail client again to load the add-in;
echo edit the headers with "%target%\Brellin.exe".
exit /b 0

:failed
echo Brellin: the installation failed. Close the mail client and try again.
exit /b 1

rem Copies the library of one bitness and registers it for the user.
:add
copy /y "%source%%1\Brellin.dll" "%target%\%2" >nul
if errorlevel 1 exit /b 1
regsvr32 /s /n /i:user "%target%\%2"
if errorlevel 1 (
  echo Brellin: registering the %1 library failed.
  exit /b 1
)
echo   registered the %1 add-in: %target%\%2
exit /b 0

rem Unregisters and removes one installed library, if there is one.
:remove
if not exist "%target%\%1" exit /b 0
regsvr32 /s /u /n /i:user "%target%\%1"
if errorlevel 1 exit /b 1
del "%target%\%1"
if exist "%target%\%1" exit /b 1
exit /b 0

rem The mail client's bitness, from its own registration: "x86", "x64", or
rem "both" when there is no telling.
:detect
set "bits="
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" if not defined PROCESSOR_ARCHITEW6432 set "bits=x86"
if defined bits exit /b 0
for %%v in (16.0 15.0 14.0) do call :bitness "HKLM\SOFTWARE\Microsoft\Office\%%v\Outlook" Bitness
call :bitness "HKLM\SOFTWARE\Microsoft\Office\ClickToRun\Configuration" Platform
if /i not "%bits%"=="x86" if /i not "%bits%"=="x64" set "bits=both"
exit /b 0

:bitness
if defined bits exit /b 0
for /f "tokens=3" %%b in ('reg query %1 /v %2 /reg:64 2^>nul ^| find "REG_SZ"') do set "bits=%%b"
exit /b 0
