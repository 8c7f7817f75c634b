#pragma once
// VISA types and the values the program uses, as the published VISA standard defines them.

#include <cstdint>

namespace visa {

using ViStatus = int32_t;
using ViSession = uint32_t;
using ViObject = uint32_t;
using ViEvent = uint32_t;
using ViEventType = uint32_t;
using ViAttr = uint32_t;
using ViAttrState = uint64_t;  // 64-bit on 64-bit platforms

extern "C" {
typedef ViStatus (*ViHndlr)(ViSession vi, ViEventType eventType, ViEvent event, void* userHandle);
}

inline constexpr ViStatus VI_SUCCESS = 0;
inline constexpr ViStatus VI_ERROR_INV_OBJECT = static_cast<ViStatus>(0xBFFF000E);
inline constexpr ViStatus VI_ERROR_RSRC_NFOUND = static_cast<ViStatus>(0xBFFF0011);
inline constexpr ViStatus VI_ERROR_TMO = static_cast<ViStatus>(0xBFFF0015);
inline constexpr ViStatus VI_ERROR_NSUP_OPER = static_cast<ViStatus>(0xBFFF0067);
inline constexpr ViStatus VI_ERROR_LIBRARY_NFOUND = static_cast<ViStatus>(0xBFFF009E);

inline constexpr ViEventType VI_EVENT_SERVICE_REQ = 0x3FFF200B;
inline constexpr ViEventType VI_ALL_ENABLED_EVENTS = 0x3FFF7FFF;
inline constexpr uint16_t VI_HNDLR = 2;
inline constexpr uint16_t VI_ALL_MECH = 0xFFFF;
inline constexpr ViHndlr VI_ANY_HNDLR = nullptr;
inline constexpr uint32_t VI_EXCLUSIVE_LOCK = 1;
inline constexpr uint32_t VI_NO_LOCK = 0;
inline constexpr ViAttr VI_ATTR_TMO_VALUE = 0x3FFF001A;
inline constexpr ViAttr VI_ATTR_RD_BUF_OPER_MODE = 0x3FFF002A;
inline constexpr ViAttr VI_ATTR_WR_BUF_OPER_MODE = 0x3FFF002D;
inline constexpr ViAttrState VI_FLUSH_ON_ACCESS = 1;
inline constexpr uint16_t VI_READ_BUF = 1;
inline constexpr uint16_t VI_WRITE_BUF = 2;
inline constexpr uint32_t VI_FIND_BUFLEN = 256;

} // namespace visa
