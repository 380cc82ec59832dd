// An in-memory mail client for the native tests: windows open when a test says
// so, items keep their subject and body, and every call on a mail item is
// counted so that a test can tell what the add-in read and wrote.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "connect.h"
#include "failure.h"
#include "host.h"

namespace brellin::fake {

class FakeMailItem final : public host::MailItem,
                           public std::enable_shared_from_this<FakeMailItem> {
public:
    FakeMailItem(std::string subject, std::string body)
        : subject(std::move(subject)), body(std::move(body)) {}

    std::int32_t Class() override { return host::olMail; }
    std::shared_ptr<host::MailItem> AsMailItem() override { return shared_from_this(); }
    std::string Body() override;
    void PutBody(const std::string& value) override;
    std::string Subject() override;
    void PutSubject(const std::string& value) override;
    void Advise(host::MailItemEvents& sink) override;
    void Unadvise(host::MailItemEvents& sink) override;

    // The user sends the item: the Send event goes to every connected sink.
    // False when none is connected, so the add-in never saw the send.
    bool RaiseSend(Bool16& cancel);
    std::size_t Sinks() const { return sinks_.size(); }
    int Advises() const { return advises_; }
    int Unadvises() const { return unadvises_; }

    std::string subject;
    std::string body;
    struct Calls {
        int getBody = 0, putBody = 0, getSubject = 0, putSubject = 0;
    } calls;
    // The name of one operation ("Body", "PutBody", "Subject", "PutSubject")
    // that fails, as the client's call would.
    std::string failing;

private:
    void MaybeFail(const char* operation) const;
    std::vector<host::MailItemEvents*> sinks_;
    int advises_ = 0, unadvises_ = 0;
};

// Any item that is not mail (a contact, an appointment).
class FakeOtherItem final : public host::Item {
public:
    explicit FakeOtherItem(std::int32_t itemClass) : class_(itemClass) {}
    std::int32_t Class() override { return class_; }
    std::shared_ptr<host::MailItem> AsMailItem() override;

private:
    std::int32_t class_;
};

class FakeInspector final : public host::Inspector {
public:
    explicit FakeInspector(std::shared_ptr<host::Item> item) : item_(std::move(item)) {}
    std::shared_ptr<host::Item> CurrentItem() override { return item_; }

private:
    std::shared_ptr<host::Item> item_;
};

class FakeExplorer final : public host::Explorer {};
class FakeNameSpace final : public host::NameSpace {};

class FakeInspectors final : public host::Inspectors {
public:
    std::int32_t Count() override { return static_cast<std::int32_t>(windows.size()); }
    void Advise(host::InspectorsEvents& sink) override {
        ++advises;
        sinks_.push_back(&sink);
    }
    void Unadvise(host::InspectorsEvents& sink) override;
    // A new inspector window opens, showing `item`.
    std::shared_ptr<FakeInspector> Open(std::shared_ptr<host::Item> item);

    std::vector<std::shared_ptr<FakeInspector>> windows;
    int advises = 0, unadvises = 0;
    std::size_t Sinks() const { return sinks_.size(); }

private:
    std::vector<host::InspectorsEvents*> sinks_;
};

class FakeExplorers final : public host::Explorers {
public:
    std::int32_t Count() override { return static_cast<std::int32_t>(windows.size()); }
    void Advise(host::ExplorersEvents& sink) override {
        ++advises;
        sinks_.push_back(&sink);
    }
    void Unadvise(host::ExplorersEvents& sink) override;
    std::shared_ptr<FakeExplorer> Open();

    std::vector<std::shared_ptr<FakeExplorer>> windows;
    int advises = 0, unadvises = 0;
    std::size_t Sinks() const { return sinks_.size(); }

private:
    std::vector<host::ExplorersEvents*> sinks_;
};

class FakeApplication final : public host::Application {
public:
    std::shared_ptr<host::NameSpace> GetNamespace(const std::string& type) override;
    std::shared_ptr<host::Explorers> Explorers() override;
    std::shared_ptr<host::Inspectors> Inspectors() override;
    std::shared_ptr<host::Explorer> ActiveExplorer() override;

    std::shared_ptr<FakeExplorers> explorers = std::make_shared<FakeExplorers>();
    std::shared_ptr<FakeInspectors> inspectors = std::make_shared<FakeInspectors>();
    // The name of one operation ("GetNamespace", "Explorers", "Inspectors",
    // "ActiveExplorer") that fails, as the client's call would.
    std::string failing;

private:
    std::shared_ptr<FakeNameSpace> mapi_ = std::make_shared<FakeNameSpace>();
};

// The application as the client passes it at connection. A test may make the
// window counts or the query for the client's application fail, as a host
// that is not the mail client would.
class FakeConnectingApplication final : public host::ConnectingApplication {
public:
    explicit FakeConnectingApplication(std::shared_ptr<FakeApplication> application)
        : application(std::move(application)) {}
    std::int32_t ExplorersCount() override;
    std::int32_t InspectorsCount() override;
    std::shared_ptr<host::Application> OutlookApplication() override;

    std::shared_ptr<FakeApplication> application;
    bool failCounts = false;
    bool notOutlook = false;
    // The order of the calls, by name ("Explorers.Count", "Inspectors.Count",
    // "OutlookApplication").
    std::vector<std::string> calls;
};

class FakeAddInInstance final : public host::AddInInstance {
public:
    std::string ProgId() override {
        if (fail) throw Failure("ProgId refused");
        return "Brellin.Connect";
    }
    bool fail = false;
};

}  // namespace brellin::fake
