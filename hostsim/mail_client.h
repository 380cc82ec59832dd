// The mail client as the test host plays it: its application object with the
// MAPI name space, the explorers and inspectors collections that raise
// NewExplorer and NewInspector, explorer and inspector windows, mail items that
// raise Send, other items, and the object that stands for one add-in. All of
// them are reached by the add-in through IDispatch, by name, and each answers
// the client's interface identifier for its kind.
#pragma once

#include <string>
#include <vector>

#include "dispatch_object.h"

namespace hostsim {

using Microsoft::WRL::ComPtr;

class MailItemObject final : public DispatchObject {
public:
    static ComPtr<MailItemObject> Create(std::wstring subject, std::wstring body);

    // The user sends the item: Send goes to every connected sink, with the
    // cancel flag by reference.
    FireResult RaiseSend(VARIANT_BOOL& cancel);
    std::size_t Sinks() { return Point(0).Connected(); }
    ConnectionPoint& Events() { return Point(0); }

    std::wstring subject;
    std::wstring body;

    // Only for Create: the object lives on the heap, reference counted.
    MailItemObject(std::wstring subject, std::wstring body);

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
};

// An item of another class (a contact: 40).
class OtherItemObject final : public DispatchObject {
public:
    static ComPtr<OtherItemObject> Create(long itemClass);

    // Only for Create: the object lives on the heap, reference counted.
    explicit OtherItemObject(long itemClass);

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
    long class_;
};

class InspectorObject final : public DispatchObject {
public:
    static ComPtr<InspectorObject> Create(ComPtr<IDispatch> item);

    // Only for Create: the object lives on the heap, reference counted.
    explicit InspectorObject(ComPtr<IDispatch> item);

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
    ComPtr<IDispatch> item_;
};

class ExplorerObject final : public DispatchObject {
public:
    static ComPtr<ExplorerObject> Create();

    // Only for Create: the object lives on the heap, reference counted.
    ExplorerObject();

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
};

// The explorers or the inspectors collection: its windows, their count, and
// the event for a new one.
class WindowsObject final : public DispatchObject {
public:
    static ComPtr<WindowsObject> CreateExplorers();
    static ComPtr<WindowsObject> CreateInspectors();

    // A window opens: it joins the collection, then the event goes out.
    FireResult Open(ComPtr<IDispatch> window);
    const std::vector<ComPtr<IDispatch>>& Windows() const { return windows_; }
    ConnectionPoint& Events() { return Point(0); }

    // Only for Create: the object lives on the heap, reference counted.
    WindowsObject(const IID& own, const IID& events);

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
    std::vector<ComPtr<IDispatch>> windows_;
};

class NameSpaceObject final : public DispatchObject {
public:
    static ComPtr<NameSpaceObject> Create();

    // Only for Create: the object lives on the heap, reference counted.
    NameSpaceObject();

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
};

class ApplicationObject final : public DispatchObject {
public:
    static ComPtr<ApplicationObject> Create();

    WindowsObject& Explorers() { return *explorers_.Get(); }
    WindowsObject& Inspectors() { return *inspectors_.Get(); }

    // Only for Create: the object lives on the heap, reference counted.
    ApplicationObject();

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;

    ComPtr<WindowsObject> explorers_ = WindowsObject::CreateExplorers();
    ComPtr<WindowsObject> inspectors_ = WindowsObject::CreateInspectors();
    ComPtr<NameSpaceObject> mapi_ = NameSpaceObject::Create();
};

// The client's object for one loaded add-in.
class AddInObject final : public DispatchObject {
public:
    static ComPtr<AddInObject> Create(std::wstring progId);

    // Only for Create: the object lives on the heap, reference counted.
    explicit AddInObject(std::wstring progId);

private:
    HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) override;
    std::wstring progId_;
};

}  // namespace hostsim
