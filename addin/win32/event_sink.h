// Following one event interface of a mail client object: a sink that answers
// the event interface's identifier and IDispatch and hands each event to a
// handler, the connection of that sink to the object's connection point, and
// the set of such connections that one adapter keeps, one per core sink.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace brellin::com {

// Runs one event; a Failure it throws goes back to the client as the event's
// outcome, with its text as the description.
using EventHandler = std::function<void(DISPID id, DISPPARAMS* params)>;

class EventSink final : public IDispatch {
public:
    static Microsoft::WRL::ComPtr<EventSink> Create(REFIID events, EventHandler handler);

    // After this every event is answered with success and goes nowhere: the
    // client may still hold the sink for a moment after it was disconnected.
    void Disarm() noexcept { handler_ = nullptr; }

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override { return InterlockedIncrement(&refs_); }
    IFACEMETHODIMP_(ULONG) Release() noexcept override;
    IFACEMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    IFACEMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    IFACEMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
    IFACEMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError) noexcept override;

private:
    EventSink(REFIID events, EventHandler handler) : events_(events), handler_(std::move(handler)) {}

    LONG refs_ = 1;
    IID events_;
    EventHandler handler_;
};

// One sink advised on one object's connection point for one event interface.
class EventConnection {
public:
    EventConnection() = default;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    ~EventConnection() { Disconnect(); }

    HRESULT Connect(IUnknown* source, REFIID events, IUnknown* sink) noexcept;
    // Unadvises; nothing when not connected.
    void Disconnect() noexcept;

private:
    Microsoft::WRL::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

// The connections of one adapter object: each core sink that advises gets a
// COM sink of its own on the object's connection point, until it unadvises.
template <class CoreSink>
class EventLinks {
public:
    using Dispatcher = std::function<void(CoreSink& sink, DISPID id, DISPPARAMS* params)>;

    EventLinks(Microsoft::WRL::ComPtr<IUnknown> source, const IID& events, Dispatcher dispatch)
        : source_(std::move(source)), events_(events), dispatch_(std::move(dispatch)) {}
    EventLinks(const EventLinks&) = delete;
    EventLinks& operator=(const EventLinks&) = delete;
    ~EventLinks() {
        for (auto& link : links_) link.sink->Disarm();
    }

    // Throws Failure when the object has no such connection point or refuses.
    void Advise(CoreSink& core);
    void Unadvise(CoreSink& core) noexcept {
        for (auto it = links_.begin(); it != links_.end(); ++it) {
            if (it->core != &core) continue;
            it->sink->Disarm();
            links_.erase(it);  // the connection's destructor unadvises
            return;
        }
    }

private:
    struct Link {
        CoreSink* core;
        Microsoft::WRL::ComPtr<EventSink> sink;
        std::unique_ptr<EventConnection> connection;
    };

    Microsoft::WRL::ComPtr<IUnknown> source_;
    IID events_;
    Dispatcher dispatch_;
    std::vector<Link> links_;
};

// The single argument of an event that passes a new window (NewExplorer,
// NewInspector). Throws Failure when the event carries something else.
Microsoft::WRL::ComPtr<IDispatch> WindowArgument(DISPPARAMS* params);
// The cancel flag of Send, a 16-bit boolean by reference.
VARIANT_BOOL* CancelArgument(DISPPARAMS* params);

[[noreturn]] void ThrowAdviseFailure(HRESULT hr);

template <class CoreSink>
void EventLinks<CoreSink>::Advise(CoreSink& core) {
    CoreSink* target = &core;
    auto sink = EventSink::Create(events_, [dispatch = dispatch_, target](DISPID id, DISPPARAMS* params) {
        dispatch(*target, id, params);
    });
    auto connection = std::make_unique<EventConnection>();
    const HRESULT hr = connection->Connect(source_.Get(), events_, sink.Get());
    if (FAILED(hr)) {
        sink->Disarm();
        ThrowAdviseFailure(hr);
    }
    links_.push_back(Link{target, std::move(sink), std::move(connection)});
}

}  // namespace brellin::com
