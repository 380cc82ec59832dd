// The add-in's reach into the mail client, on the test host's objects: calls
// by name with their results and failures, and event links that advise a sink
// on the right connection point, carry NewInspector's window and Send's cancel
// flag by reference, turn a failing handler into the event's outcome, and
// unadvise exactly once.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "dispatch_call.h"
#include "event_sink.h"
#include "failure.h"
#include "host_adapters.h"
#include "mail_client.h"
#include "outlook_ids.h"
#include "win_check.h"

using Microsoft::WRL::ComPtr;
namespace check = brellin::check;
namespace com = brellin::com;
namespace ol = brellin::outlook;

namespace {

ComPtr<IUnknown> Source(IDispatch* object) {
    return ComPtr<IUnknown>(object);
}

template <class Call>
std::string FailureOf(Call call) {
    try {
        call();
    } catch (const brellin::Failure& failure) {
        return failure.what();
    }
    return "(no failure)";
}

void TestCallsByName() {
    auto application = hostsim::ApplicationObject::Create();
    application->Explorers().Open(hostsim::ExplorerObject::Create());
    auto mail = hostsim::MailItemObject::Create(L"Report", L"Hello");
    application->Inspectors().Open(hostsim::InspectorObject::Create(mail));

    const auto explorers = com::ToObject(com::GetProperty(application.Get(), L"Explorers"));
    CHECK(com::ToLong(com::GetProperty(explorers.Get(), L"Count")) == 1, "Explorers.Count");
    const auto mapi = com::Variant::Text("MAPI");
    CHECK(com::ToObject(com::CallMethod(application.Get(), L"GetNamespace", {&mapi})) != nullptr, "GetNamespace(\"MAPI\")");
    const auto other = com::Variant::Text("Other");
    CHECK(FailureOf([&] { com::CallMethod(application.Get(), L"GetNamespace", {&other}); }) ==
              "GetNamespace failed with 0x80070057",
          "a refused call fails with its name and result");
    CHECK(FailureOf([&] { com::GetProperty(application.Get(), L"NoSuchMember"); }) ==
              "NoSuchMember failed with 0x80020006",
          "an unknown member fails");

    CHECK(com::ToLong(com::GetProperty(mail.Get(), L"Class")) == ol::olMail, "a mail item's class");
    CHECK(com::ToText(com::GetProperty(mail.Get(), L"Body")) == "Hello", "Body");
    com::PutProperty(mail.Get(), L"Subject", com::Variant::Text("(Acme) Report"));
    CHECK(mail->subject == L"(Acme) Report", "Subject put");
    CHECK(com::ToObject(com::GetProperty(application.Get(), L"ActiveExplorer")) != nullptr, "ActiveExplorer");

    auto empty = hostsim::ApplicationObject::Create();
    CHECK(com::ToObject(com::GetProperty(empty.Get(), L"ActiveExplorer")) == nullptr,
          "no explorer: ActiveExplorer is Nothing");
}

struct Recorder {
    int windows = 0;
    int sends = 0;
    VARIANT_BOOL setCancel = VARIANT_FALSE;
    bool fail = false;
};

void TestInspectorEvents() {
    auto inspectors = hostsim::WindowsObject::CreateInspectors();
    Recorder recorder;
    {
        com::EventLinks<Recorder> links(Source(inspectors.Get()), ol::DIID_InspectorsEvents,
                                        [](Recorder& sink, DISPID id, DISPPARAMS* params) {
                                            if (id != ol::DISPID_NewInspector) return;
                                            CHECK(com::WindowArgument(params) != nullptr, "the new window");
                                            ++sink.windows;
                                        });
        links.Advise(recorder);
        CHECK(inspectors->Events().advises == 1 && inspectors->Events().Connected() == 1, "one advise");
        inspectors->Open(hostsim::InspectorObject::Create(hostsim::OtherItemObject::Create(40)));
        CHECK(recorder.windows == 1, "NewInspector arrives once");
        links.Unadvise(recorder);
        CHECK(inspectors->Events().unadvises == 1 && inspectors->Events().Connected() == 0, "one unadvise");
        inspectors->Open(hostsim::InspectorObject::Create(hostsim::OtherItemObject::Create(40)));
        CHECK(recorder.windows == 1, "no event after unadvise");
        links.Unadvise(recorder);  // a second time: nothing left to do
        links.Advise(recorder);
    }
    CHECK(inspectors->Events().advises == 2 && inspectors->Events().unadvises == 2,
          "links that go out of scope unadvise what they advised");
}

void TestSendEvent() {
    auto mail = hostsim::MailItemObject::Create(L"Report", L"Hello");
    Recorder recorder;
    com::EventLinks<Recorder> links(Source(mail.Get()), ol::DIID_ItemEvents, [](Recorder& sink, DISPID id, DISPPARAMS* params) {
        if (id != ol::DISPID_Send) return;
        ++sink.sends;
        VARIANT_BOOL* cancel = com::CancelArgument(params);
        if (sink.fail) throw brellin::Failure("Could not read the disclaimer");
        if (sink.setCancel) *cancel = sink.setCancel;
    });
    links.Advise(recorder);

    VARIANT_BOOL cancel = VARIANT_FALSE;
    auto result = mail->RaiseSend(cancel);
    CHECK(result.sinks == 1 && result.hr == S_OK && cancel == VARIANT_FALSE, "a send that goes");
    recorder.setCancel = VARIANT_TRUE;
    result = mail->RaiseSend(cancel);
    CHECK(result.hr == S_OK && cancel == VARIANT_TRUE, "the cancel flag comes back by reference");

    recorder.fail = true;
    cancel = VARIANT_FALSE;
    result = mail->RaiseSend(cancel);
    CHECK_HR(E_FAIL, result.hr, "a failing handler");
    CHECK(result.description == L"Could not read the disclaimer", "the failure's text reaches the client");
    CHECK(cancel == VARIANT_FALSE, "a failing handler leaves the flag");
    CHECK(recorder.sends == 3, "every send reached the handler");

    // Another event of the item's interface (such as Open) is ignored.
    VARIANT_BOOL flag = VARIANT_FALSE;
    VARIANT argument;
    V_VT(&argument) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&argument) = &flag;
    CHECK_HR(S_OK, mail->Events().Fire(0xF003, &argument, 1).hr, "an event nobody handles");
    CHECK(recorder.sends == 3, "only Send runs the handler");

    // A send whose flag does not come by reference is refused, not guessed at.
    VARIANT byValue;
    V_VT(&byValue) = VT_BOOL;
    V_BOOL(&byValue) = VARIANT_FALSE;
    recorder.fail = false;
    CHECK_HR(E_FAIL, mail->Events().Fire(ol::DISPID_Send, &byValue, 1).hr, "Send without a flag by reference");
}

void TestSinkAndConnectionPoint() {
    // The sink answers its event interface and IDispatch, nothing else.
    auto sink = com::EventSink::Create(ol::DIID_ItemEvents, [](DISPID, DISPPARAMS*) {});
    ComPtr<IUnknown> answer;
    CHECK_HR(S_OK, sink->QueryInterface(ol::DIID_ItemEvents, reinterpret_cast<void**>(answer.ReleaseAndGetAddressOf())),
             "the sink answers its event interface");
    CHECK_HR(S_OK, sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(answer.ReleaseAndGetAddressOf())),
             "the sink answers IDispatch");
    CHECK_HR(E_NOINTERFACE,
             sink->QueryInterface(ol::DIID_InspectorsEvents, reinterpret_cast<void**>(answer.ReleaseAndGetAddressOf())),
             "the sink refuses another event interface");

    // An object without that connection point refuses the advise.
    auto explorer = hostsim::ExplorerObject::Create();
    Recorder recorder;
    com::EventLinks<Recorder> links(Source(explorer.Get()), ol::DIID_ItemEvents, [](Recorder&, DISPID, DISPPARAMS*) {});
    CHECK(FailureOf([&] { links.Advise(recorder); }) != "(no failure)", "no connection point, no advise");
    auto mail = hostsim::MailItemObject::Create(L"", L"");
    com::EventLinks<Recorder> wrong(Source(mail.Get()), ol::DIID_InspectorsEvents, [](Recorder&, DISPID, DISPPARAMS*) {});
    CHECK(FailureOf([&] { wrong.Advise(recorder); }) != "(no failure)", "a connection point of another interface");
}

struct Follower final : brellin::host::InspectorsEvents, brellin::host::MailItemEvents {
    void NewInspector(const std::shared_ptr<brellin::host::Inspector>& inspector) override { last = inspector; }
    void Send(brellin::Bool16& cancel) override {
        ++sends;
        cancel = brellin::kTrue16;
    }
    std::shared_ptr<brellin::host::Inspector> last;
    int sends = 0;
};

// The core's view of the client on its automation objects: counts by name,
// the client's interfaces asked for, events handed on as the core's objects.
void TestAdapters() {
    auto application = hostsim::ApplicationObject::Create();
    application->Explorers().Open(hostsim::ExplorerObject::Create());
    auto addInInst = hostsim::AddInObject::Create(L"Brellin.Connect");
    const auto passed = com::AdaptConnectingApplication(application.Get());
    CHECK(passed->ExplorersCount() == 1 && passed->InspectorsCount() == 0, "window counts by name");
    CHECK(com::AdaptAddInInstance(addInInst.Get())->ProgId() == "Brellin.Connect", "ProgId by name");

    const auto outlook = passed->OutlookApplication();
    CHECK(outlook->GetNamespace("MAPI") != nullptr, "the MAPI name space");
    CHECK(outlook->ActiveExplorer() != nullptr, "the active explorer");
    const auto inspectors = outlook->Inspectors();
    Follower follower;
    inspectors->Advise(follower);
    CHECK(application->Inspectors().Events().advises == 1, "advised on the inspectors collection");

    auto mail = hostsim::MailItemObject::Create(L"Report", L"Hello");
    application->Inspectors().Open(hostsim::InspectorObject::Create(mail));
    if (CHECK(follower.last != nullptr, "NewInspector handed on")) {
        const auto item = follower.last->CurrentItem();
        CHECK(item->Class() == ol::olMail, "the item's class by name");
        const auto armed = item->AsMailItem();
        CHECK(armed->Subject() == "Report", "the mail item's subject");
        armed->PutBody("(Acme)\r\rHello");
        CHECK(mail->body == L"(Acme)\r\rHello", "the body put");
        armed->Advise(follower);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        CHECK(mail->RaiseSend(cancel).hr == S_OK && cancel == VARIANT_TRUE && follower.sends == 1,
              "Send reaches the core, and its cancel flag comes back");
        armed->Unadvise(follower);
        CHECK(mail->Sinks() == 0 && mail->Events().unadvises == 1, "the mail item unadvised");
    }
    application->Inspectors().Open(hostsim::InspectorObject::Create(hostsim::OtherItemObject::Create(40)));
    const auto contact = follower.last->CurrentItem();
    CHECK(contact->Class() == 40, "a contact's class");
    CHECK(FailureOf([&] { contact->AsMailItem(); }) != "(no failure)", "a contact is no mail item");
    inspectors->Unadvise(follower);
    CHECK(application->Inspectors().Events().Connected() == 0, "unadvised from the inspectors collection");

    // An object that is not the client's application: the query fails.
    auto other = hostsim::NameSpaceObject::Create();
    CHECK(FailureOf([&] { com::AdaptConnectingApplication(other.Get())->OutlookApplication(); }) != "(no failure)",
          "a host that is not the mail client");
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    TestCallsByName();
    TestInspectorEvents();
    TestSendEvent();
    TestSinkAndConnectionPoint();
    TestAdapters();
    OleUninitialize();
    std::printf("%d failed checks\n", brellin::check::failures);
    return brellin::check::failures == 0 ? 0 : 1;
}
