// hostsim: plays the mail client for the add-in under Wine. It loads the
// add-ins registered for the current user exactly as the client does and
// raises the client's window and send events on its own automation objects.
//
// usage: hostsim load [explorers N] [inspectors N]
//        hostsim run CASE_FOLDER
//        hostsim speed [ROUNDS]
//        hostsim setup CASE_FOLDER
//        hostsim interactive SUBJECT BODY
//
// "run" plays a mail case on the add-in registered in the case's install
// folder and prints the native runner's lines. "speed" prints how long the
// add-in takes to connect and how long a send takes to show its dialog.
// "setup" prints where the case installs the add-in ("location PATH") and the
// drives it names ("drive X: TYPE"), for the script that prepares the prefix.
//
// "interactive" connects the registered add-ins, opens one mail with SUBJECT
// and BODY and sends it; the person at the screen answers the add-in's
// windows. Prints the mail as it left ("sent cancel=0|1 subject=... body=...")
// or the failure the add-in reported.
//
// "load" starts the client with N explorer and inspector windows (default one
// explorer), connects the registered add-ins, shuts them down again and prints
// every step of their life, then how often the add-ins advised and unadvised
// on the two window collections. Exits 1 when a step failed.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "addin_loader.h"
#include "dispatch_call.h"
#include "mail_scenario.h"
#include "case_runner.h"
#include "mail_client.h"

namespace {

void Print(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

int RunLoad(int argc, wchar_t** argv) {
    int explorers = 1, inspectors = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::wstring what = argv[i];
        const int count = _wtoi(argv[i + 1]);
        if (what == L"explorers") explorers = count;
        else if (what == L"inspectors") inspectors = count;
        else return 2;
    }
    auto application = hostsim::ApplicationObject::Create();
    for (int n = 0; n < explorers; ++n) application->Explorers().Open(hostsim::ExplorerObject::Create());
    for (int n = 0; n < inspectors; ++n)
        application->Inspectors().Open(hostsim::InspectorObject::Create(hostsim::MailItemObject::Create(L"", L"")));

    bool ok = true;
    hostsim::AddinLoader loader([&ok](const std::string& line, bool failure) {
        Print(line);
        if (failure) ok = false;
    });
    loader.Connect(application.Get());
    if (loader.Addins().empty()) {
        Print("no add-in connected");
        ok = false;
    }
    ok = loader.Disconnect() && ok;
    for (auto* windows : {&application->Explorers(), &application->Inspectors()}) {
        const auto& point = windows->Events();
        Print(std::string(windows == &application->Explorers() ? "explorers" : "inspectors") +
              " advised=" + std::to_string(point.advises) + " unadvised=" + std::to_string(point.unadvises));
    }
    return ok ? 0 : 1;
}

int RunInteractive(const wchar_t* subject, const wchar_t* body) {
    using brellin::com::ToAnsi;
    using brellin::scenario::Quoted;
    auto application = hostsim::ApplicationObject::Create();
    application->Explorers().Open(hostsim::ExplorerObject::Create());
    hostsim::AddinLoader loader([](const std::string& line, bool failure) {
        if (failure) std::fprintf(stderr, "hostsim: %s\n", line.c_str());
    });
    loader.Connect(application.Get());
    if (loader.Addins().empty()) {
        Print("no add-in connected");
        return 1;
    }
    auto mail = hostsim::MailItemObject::Create(subject, body);
    application->Inspectors().Open(hostsim::InspectorObject::Create(mail));
    VARIANT_BOOL cancel = VARIANT_FALSE;
    const hostsim::FireResult result = mail->RaiseSend(cancel);
    if (FAILED(result.hr))
        Print("failed " + Quoted(result.description.empty() ? std::to_string(result.hr) : ToAnsi(result.description)));
    else
        Print(std::string("sent cancel=") + (cancel ? "1" : "0") + " subject=" + Quoted(ToAnsi(mail->subject)) +
              " body=" + Quoted(ToAnsi(mail->body)));
    return loader.Disconnect() && SUCCEEDED(result.hr) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: hostsim load [explorers N] [inspectors N] | run CASE | speed [ROUNDS] | setup CASE | interactive SUBJECT BODY\n", stderr);
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) return 3;
    int status = 2;
    const std::wstring mode = argv[1];
    if (mode == L"load") status = RunLoad(argc, argv);
    else if (mode == L"run" && argc == 3) status = hostsim::RunCase(argv[2]);
    else if (mode == L"setup" && argc == 3) status = hostsim::PrintSetup(argv[2]);
    else if (mode == L"interactive" && argc == 4) status = RunInteractive(argv[2], argv[3]);
    else if (mode == L"speed") status = hostsim::RunSpeed(argc > 2 ? _wtoi(argv[2]) : 20);
    OleUninitialize();
    return status;
}
