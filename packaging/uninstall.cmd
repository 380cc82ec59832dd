@echo off
rem Removes Brellin of the current user: unregisters the add-in and deletes
rem the programs. The configuration and the disclaimer stay, so that nothing
rem the user wrote is lost; delete the folder to remove them too.
setlocal EnableExtensions
set "target=%LOCALAPPDATA%\Programs\Brellin"
if "%LOCALAPPDATA%"=="" (
  echo Brellin: LOCALAPPDATA is not set; cannot tell where Brellin is.
  exit /b 1
)
set "failed="
for %%d in (Brellin.dll Brellin64.dll) do call :remove %%d
if exist "%target%\Brellin.exe" del "%target%\Brellin.exe"
if exist "%target%\Brellin.exe" set "failed=1"
if defined failed (
  echo Brellin: could not remove everything. Close the mail client and the editor, and try again.
  exit /b 1
)
echo Brellin is uninstalled.
if exist "%target%\Brellin.ini" echo Your configuration stays in "%target%".
if not exist "%target%\Brellin.ini" if not exist "%target%\BrellinD.txt" rmdir "%target%" 2>nul
exit /b 0

:remove
if not exist "%target%\%1" exit /b 0
regsvr32 /s /u /n /i:user "%target%\%1"
if errorlevel 1 set "failed=1"
if errorlevel 1 exit /b 0
del "%target%\%1"
if exist "%target%\%1" set "failed=1"
exit /b 0
