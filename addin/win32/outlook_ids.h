// The mail client's interface identifiers that the add-in asks for, and the
// dispatch identifiers of the three events it follows. Only these few are
// needed: every call on the client's objects is made by name.
#pragma once

#include <windows.h>

namespace brellin::outlook {

// {000630xx-0000-0000-C000-000000000046}
constexpr GUID ClientIid(unsigned short number) {
    return GUID{0x00063000u + number, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}

inline constexpr GUID IID_Application = ClientIid(0x01);
inline constexpr GUID IID_NameSpace = ClientIid(0x02);
inline constexpr GUID IID_Explorer = ClientIid(0x03);
inline constexpr GUID IID_Inspector = ClientIid(0x05);
inline constexpr GUID IID_Inspectors = ClientIid(0x08);
inline constexpr GUID IID_Explorers = ClientIid(0x0A);
inline constexpr GUID IID_MailItem = ClientIid(0x34);

inline constexpr GUID DIID_ItemEvents = ClientIid(0x2B);
inline constexpr GUID DIID_ExplorersEvents = ClientIid(0x78);
inline constexpr GUID DIID_InspectorsEvents = ClientIid(0x79);

inline constexpr DISPID DISPID_NewExplorer = 0xF001;
inline constexpr DISPID DISPID_NewInspector = 0xF001;
inline constexpr DISPID DISPID_Send = 0xF005;

// The object class code of a mail item.
inline constexpr long olMail = 43;

}  // namespace brellin::outlook
