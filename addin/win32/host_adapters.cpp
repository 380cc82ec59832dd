#include "host_adapters.h"

#include <utility>

#include "dispatch_call.h"
#include "event_sink.h"
#include "failure.h"
#include "outlook_ids.h"

using Microsoft::WRL::ComPtr;

namespace brellin::com {
namespace {

namespace ol = outlook;

// The object as the client's interface of its kind; as a typed reference
// takes it. Throws Failure when the object is not of that kind.
ComPtr<IDispatch> Typed(IDispatch* object, const IID& iid, const wchar_t* kind) {
    if (!object) ThrowFailure(E_POINTER, kind);
    ComPtr<IDispatch> typed;
    const HRESULT hr = object->QueryInterface(iid, reinterpret_cast<void**>(typed.GetAddressOf()));
    if (FAILED(hr)) ThrowFailure(hr, kind);
    return typed;
}

class ItemAdapter final : public host::Item {
public:
    explicit ItemAdapter(ComPtr<IDispatch> item) : item_(std::move(item)) {}
    std::int32_t Class() override { return ToLong(GetProperty(item_.Get(), L"Class")); }
    std::shared_ptr<host::MailItem> AsMailItem() override;

private:
    ComPtr<IDispatch> item_;
};

class MailItemAdapter final : public host::MailItem, public std::enable_shared_from_this<MailItemAdapter> {
public:
    explicit MailItemAdapter(ComPtr<IDispatch> mail)
        : mail_(std::move(mail)),
          events_(ComPtr<IUnknown>(mail_.Get()), ol::DIID_ItemEvents,
                  [](host::MailItemEvents& sink, DISPID id, DISPPARAMS* params) {
                      if (id != ol::DISPID_Send) return;
                      VARIANT_BOOL* cancel = CancelArgument(params);
                      Bool16 value = *cancel;
                      sink.Send(value);
                      *cancel = value;
                  }) {}

    std::int32_t Class() override { return ToLong(GetProperty(mail_.Get(), L"Class")); }
    std::shared_ptr<host::MailItem> AsMailItem() override { return shared_from_this(); }
    std::string Body() override { return ToText(GetProperty(mail_.Get(), L"Body")); }
    void PutBody(const std::string& body) override { PutProperty(mail_.Get(), L"Body", Variant::Text(body)); }
    std::string Subject() override { return ToText(GetProperty(mail_.Get(), L"Subject")); }
    void PutSubject(const std::string& subject) override {
        PutProperty(mail_.Get(), L"Subject", Variant::Text(subject));
    }
    void Advise(host::MailItemEvents& sink) override { events_.Advise(sink); }
    void Unadvise(host::MailItemEvents& sink) override { events_.Unadvise(sink); }

private:
    ComPtr<IDispatch> mail_;
    EventLinks<host::MailItemEvents> events_;
};

std::shared_ptr<host::MailItem> ItemAdapter::AsMailItem() {
    return std::make_shared<MailItemAdapter>(Typed(item_.Get(), ol::IID_MailItem, L"MailItem"));
}

class InspectorAdapter final : public host::Inspector {
public:
    explicit InspectorAdapter(IDispatch* inspector) : inspector_(Typed(inspector, ol::IID_Inspector, L"Inspector")) {}
    std::shared_ptr<host::Item> CurrentItem() override {
        auto item = ToObject(GetProperty(inspector_.Get(), L"CurrentItem"));
        if (!item) return nullptr;
        return std::make_shared<ItemAdapter>(std::move(item));
    }

private:
    ComPtr<IDispatch> inspector_;
};

class ExplorerAdapter final : public host::Explorer {
public:
    explicit ExplorerAdapter(IDispatch* explorer) : explorer_(Typed(explorer, ol::IID_Explorer, L"Explorer")) {}

private:
    ComPtr<IDispatch> explorer_;
};

class NameSpaceAdapter final : public host::NameSpace {
public:
    explicit NameSpaceAdapter(IDispatch* ns) : ns_(Typed(ns, ol::IID_NameSpace, L"NameSpace")) {}

private:
    ComPtr<IDispatch> ns_;
};

// The explorers or the inspectors collection: its count by name, and its
// new-window event, whose window is handed on as the core's view of it.
template <class Collection, class Events, class Window, class WindowAdapter>
class WindowsAdapter final : public Collection {
public:
    WindowsAdapter(IDispatch* windows, const IID& iid, const IID& events, const wchar_t* kind,
                   void (Events::*raise)(const std::shared_ptr<Window>&))
        : windows_(Typed(windows, iid, kind)),
          events_(ComPtr<IUnknown>(windows_.Get()), events, [raise](Events& sink, DISPID id, DISPPARAMS* params) {
              if (id != ol::DISPID_NewInspector) return;  // NewExplorer shares the identifier
              const auto window = WindowArgument(params);
              (sink.*raise)(std::make_shared<WindowAdapter>(window.Get()));
          }) {}

    std::int32_t Count() override { return ToLong(GetProperty(windows_.Get(), L"Count")); }
    void Advise(Events& sink) override { events_.Advise(sink); }
    void Unadvise(Events& sink) override { events_.Unadvise(sink); }

private:
    ComPtr<IDispatch> windows_;
    EventLinks<Events> events_;
};

using ExplorersAdapter = WindowsAdapter<host::Explorers, host::ExplorersEvents, host::Explorer, ExplorerAdapter>;
using InspectorsAdapter = WindowsAdapter<host::Inspectors, host::InspectorsEvents, host::Inspector, InspectorAdapter>;

class ApplicationAdapter final : public host::Application {
public:
    explicit ApplicationAdapter(ComPtr<IDispatch> application) : application_(std::move(application)) {}

    std::shared_ptr<host::NameSpace> GetNamespace(const std::string& type) override {
        const Variant argument = Variant::Text(type);
        const auto ns = ToObject(CallMethod(application_.Get(), L"GetNamespace", {&argument}));
        return std::make_shared<NameSpaceAdapter>(ns.Get());
    }
    std::shared_ptr<host::Explorers> Explorers() override {
        const auto windows = ToObject(GetProperty(application_.Get(), L"Explorers"));
        return std::make_shared<ExplorersAdapter>(windows.Get(), ol::IID_Explorers, ol::DIID_ExplorersEvents,
                                                  L"Explorers", &host::ExplorersEvents::NewExplorer);
    }
    std::shared_ptr<host::Inspectors> Inspectors() override {
        const auto windows = ToObject(GetProperty(application_.Get(), L"Inspectors"));
        return std::make_shared<InspectorsAdapter>(windows.Get(), ol::IID_Inspectors, ol::DIID_InspectorsEvents,
                                                   L"Inspectors", &host::InspectorsEvents::NewInspector);
    }
    std::shared_ptr<host::Explorer> ActiveExplorer() override {
        const auto explorer = ToObject(GetProperty(application_.Get(), L"ActiveExplorer"));
        if (!explorer) return nullptr;
        return std::make_shared<ExplorerAdapter>(explorer.Get());
    }

private:
    ComPtr<IDispatch> application_;
};

class ConnectingApplicationAdapter final : public host::ConnectingApplication {
public:
    explicit ConnectingApplicationAdapter(IDispatch* application) : application_(application) {}

    std::int32_t ExplorersCount() override { return WindowCount(L"Explorers"); }
    std::int32_t InspectorsCount() override { return WindowCount(L"Inspectors"); }
    std::shared_ptr<host::Application> OutlookApplication() override {
        return std::make_shared<ApplicationAdapter>(Typed(application_.Get(), ol::IID_Application, L"Application"));
    }

private:
    std::int32_t WindowCount(const wchar_t* collection) {
        const auto windows = ToObject(GetProperty(application_.Get(), collection));
        return ToLong(GetProperty(windows.Get(), L"Count"));
    }

    ComPtr<IDispatch> application_;
};

class AddInInstanceAdapter final : public host::AddInInstance {
public:
    explicit AddInInstanceAdapter(IDispatch* addInInst) : addInInst_(addInInst) {}
    std::string ProgId() override { return ToText(GetProperty(addInInst_.Get(), L"ProgId")); }

private:
    ComPtr<IDispatch> addInInst_;
};

}  // namespace

std::unique_ptr<host::ConnectingApplication> AdaptConnectingApplication(IDispatch* application) {
    return std::make_unique<ConnectingApplicationAdapter>(application);
}

std::unique_ptr<host::AddInInstance> AdaptAddInInstance(IDispatch* addInInst) {
    return std::make_unique<AddInInstanceAdapter>(addInInst);
}

}  // namespace brellin::com
