// The add-in's view of the mail client: the few objects, properties and events
// it uses, as ports. The shipped library binds them to the client's automation
// objects; the native tests use an in-memory host (fakes/fake_host.h).
// A failing host call throws Failure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bool16.h"

namespace brellin::host {

// The class code of a mail item.
inline constexpr std::int32_t olMail = 43;

class MailItem;

class Item {
public:
    virtual ~Item() = default;
    virtual std::int32_t Class() = 0;
    // The same item seen as a mail item; throws Failure when it is none.
    virtual std::shared_ptr<MailItem> AsMailItem() = 0;
};

class MailItemEvents {
public:
    virtual ~MailItemEvents() = default;
    // Raised when the user sends the item; the client waits for the handler
    // and keeps the item unsent when `Cancel` comes back true.
    virtual void Send(Bool16& Cancel) = 0;
};

class MailItem : public Item {
public:
    virtual std::string Body() = 0;
    virtual void PutBody(const std::string& body) = 0;
    virtual std::string Subject() = 0;
    virtual void PutSubject(const std::string& subject) = 0;
    virtual void Advise(MailItemEvents& sink) = 0;
    virtual void Unadvise(MailItemEvents& sink) = 0;
};

class Inspector {
public:
    virtual ~Inspector() = default;
    virtual std::shared_ptr<Item> CurrentItem() = 0;
};

class Explorer {
public:
    virtual ~Explorer() = default;
};

class InspectorsEvents {
public:
    virtual ~InspectorsEvents() = default;
    virtual void NewInspector(const std::shared_ptr<Inspector>& inspector) = 0;
};

class Inspectors {
public:
    virtual ~Inspectors() = default;
    virtual std::int32_t Count() = 0;
    virtual void Advise(InspectorsEvents& sink) = 0;
    virtual void Unadvise(InspectorsEvents& sink) = 0;
};

class ExplorersEvents {
public:
    virtual ~ExplorersEvents() = default;
    virtual void NewExplorer(const std::shared_ptr<Explorer>& explorer) = 0;
};

class Explorers {
public:
    virtual ~Explorers() = default;
    virtual std::int32_t Count() = 0;
    virtual void Advise(ExplorersEvents& sink) = 0;
    virtual void Unadvise(ExplorersEvents& sink) = 0;
};

class NameSpace {
public:
    virtual ~NameSpace() = default;
};

class Application {
public:
    virtual ~Application() = default;
    virtual std::shared_ptr<NameSpace> GetNamespace(const std::string& type) = 0;
    virtual std::shared_ptr<host::Explorers> Explorers() = 0;
    virtual std::shared_ptr<host::Inspectors> Inspectors() = 0;
    // Empty when the client has no explorer window.
    virtual std::shared_ptr<Explorer> ActiveExplorer() = 0;
};

// A member that follows one event source: assigning an object disconnects the
// sink from the old one and connects it to the new one; emptying disconnects.
template <class Source, class Sink>
class WithEvents {
public:
    explicit WithEvents(Sink& sink) : sink_(sink) {}
    WithEvents(const WithEvents&) = delete;
    WithEvents& operator=(const WithEvents&) = delete;
    ~WithEvents() { Reset(); }

    WithEvents& operator=(std::shared_ptr<Source> source) {
        if (source == source_) return *this;
        Reset();
        if (source) source->Advise(sink_);
        source_ = std::move(source);
        return *this;
    }
    void Reset() {
        if (!source_) return;
        auto old = std::move(source_);
        source_.reset();
        old->Unadvise(sink_);
    }
    Source* operator->() const { return source_.get(); }
    const std::shared_ptr<Source>& get() const { return source_; }
    explicit operator bool() const { return source_ != nullptr; }

private:
    Sink& sink_;
    std::shared_ptr<Source> source_;
};

}  // namespace brellin::host
