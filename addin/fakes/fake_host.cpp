#include "fake_host.h"

#include <algorithm>

#include "failure.h"

namespace brellin::fake {
namespace {

template <class Sink>
void Remove(std::vector<Sink*>& sinks, Sink& sink) {
    const auto found = std::find(sinks.begin(), sinks.end(), &sink);
    if (found != sinks.end()) sinks.erase(found);
}

}  // namespace

void FakeMailItem::MaybeFail(const char* operation) const {
    if (failing == operation) throw Failure(std::string("The mail item refused ") + operation);
}

std::string FakeMailItem::Body() {
    ++calls.getBody;
    MaybeFail("Body");
    return body;
}

void FakeMailItem::PutBody(const std::string& value) {
    ++calls.putBody;
    MaybeFail("PutBody");
    body = value;
}

std::string FakeMailItem::Subject() {
    ++calls.getSubject;
    MaybeFail("Subject");
    return subject;
}

void FakeMailItem::PutSubject(const std::string& value) {
    ++calls.putSubject;
    MaybeFail("PutSubject");
    subject = value;
}

void FakeMailItem::Advise(host::MailItemEvents& sink) {
    ++advises_;
    sinks_.push_back(&sink);
}
void FakeMailItem::Unadvise(host::MailItemEvents& sink) {
    ++unadvises_;
    Remove(sinks_, sink);
}

bool FakeMailItem::RaiseSend(Bool16& cancel) {
    if (sinks_.empty()) return false;
    // A copy: a handler may disconnect while the event runs.
    const auto sinks = sinks_;
    for (auto* sink : sinks) sink->Send(cancel);
    return true;
}

std::shared_ptr<host::MailItem> FakeOtherItem::AsMailItem() {
    throw Failure("The item is no mail item");
}

void FakeInspectors::Unadvise(host::InspectorsEvents& sink) {
    ++unadvises;
    Remove(sinks_, sink);
}

std::shared_ptr<FakeInspector> FakeInspectors::Open(std::shared_ptr<host::Item> item) {
    auto window = std::make_shared<FakeInspector>(std::move(item));
    windows.push_back(window);
    const auto sinks = sinks_;
    for (auto* sink : sinks) sink->NewInspector(window);
    return window;
}

void FakeExplorers::Unadvise(host::ExplorersEvents& sink) {
    ++unadvises;
    Remove(sinks_, sink);
}

std::shared_ptr<FakeExplorer> FakeExplorers::Open() {
    auto window = std::make_shared<FakeExplorer>();
    windows.push_back(window);
    const auto sinks = sinks_;
    for (auto* sink : sinks) sink->NewExplorer(window);
    return window;
}

std::shared_ptr<host::NameSpace> FakeApplication::GetNamespace(const std::string& type) {
    if (failing == "GetNamespace") throw Failure("GetNamespace refused");
    if (type != "MAPI") throw Failure("Unknown name space " + type);
    return mapi_;
}

std::shared_ptr<host::Explorers> FakeApplication::Explorers() {
    if (failing == "Explorers") throw Failure("Explorers refused");
    return explorers;
}

std::shared_ptr<host::Inspectors> FakeApplication::Inspectors() {
    if (failing == "Inspectors") throw Failure("Inspectors refused");
    return inspectors;
}

std::shared_ptr<host::Explorer> FakeApplication::ActiveExplorer() {
    if (failing == "ActiveExplorer") throw Failure("ActiveExplorer refused");
    if (explorers->windows.empty()) return nullptr;
    return explorers->windows.front();
}

std::int32_t FakeConnectingApplication::ExplorersCount() {
    calls.push_back("Explorers.Count");
    if (failCounts) throw Failure("Explorers refused");
    return application->explorers->Count();
}

std::int32_t FakeConnectingApplication::InspectorsCount() {
    calls.push_back("Inspectors.Count");
    if (failCounts) throw Failure("Inspectors refused");
    return application->inspectors->Count();
}

std::shared_ptr<host::Application> FakeConnectingApplication::OutlookApplication() {
    calls.push_back("OutlookApplication");
    if (notOutlook) throw Failure("No such interface supported");
    return application;
}

}  // namespace brellin::fake
