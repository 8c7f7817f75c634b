#pragma once
// VISA status values, attributes and event codes the simulated USB sessions use.

#include <cstdint>

namespace talsim::visa {

inline constexpr std::int32_t Code(std::uint32_t value) { return static_cast<std::int32_t>(value); }

inline constexpr std::int32_t VI_SUCCESS = 0;
inline constexpr std::int32_t VI_SUCCESS_EVENT_EN = Code(0x3FFF0002);
inline constexpr std::int32_t VI_SUCCESS_EVENT_DIS = Code(0x3FFF0003);
inline constexpr std::int32_t VI_SUCCESS_MAX_CNT = Code(0x3FFF0006);
inline constexpr std::int32_t VI_WARN_NULL_OBJECT = Code(0x3FFF0082);
inline constexpr std::int32_t VI_SUCCESS_NESTED_EXCLUSIVE = Code(0x3FFF009A);

inline constexpr std::int32_t VI_ERROR_INV_OBJECT = Code(0xBFFF000E);
inline constexpr std::int32_t VI_ERROR_RSRC_LOCKED = Code(0xBFFF000F);
inline constexpr std::int32_t VI_ERROR_INV_EXPR = Code(0xBFFF0010);
inline constexpr std::int32_t VI_ERROR_RSRC_NFOUND = Code(0xBFFF0011);
inline constexpr std::int32_t VI_ERROR_INV_RSRC_NAME = Code(0xBFFF0012);
inline constexpr std::int32_t VI_ERROR_TMO = Code(0xBFFF0015);
inline constexpr std::int32_t VI_ERROR_INV_LOCK_TYPE = Code(0xBFFF0020);
inline constexpr std::int32_t VI_ERROR_INV_EVENT = Code(0xBFFF0026);
inline constexpr std::int32_t VI_ERROR_INV_MECH = Code(0xBFFF0027);
inline constexpr std::int32_t VI_ERROR_HNDLR_NINSTALLED = Code(0xBFFF0028);
inline constexpr std::int32_t VI_ERROR_INV_HNDLR_REF = Code(0xBFFF0029);
inline constexpr std::int32_t VI_ERROR_INV_FMT = Code(0xBFFF003F);
inline constexpr std::int32_t VI_ERROR_INV_MASK = Code(0xBFFF0065);
inline constexpr std::int32_t VI_ERROR_USER_BUF = Code(0xBFFF0071);
inline constexpr std::int32_t VI_ERROR_INV_LENGTH = Code(0xBFFF0083);
inline constexpr std::int32_t VI_ERROR_SESN_NLOCKED = Code(0xBFFF009C);
inline constexpr std::int32_t VI_ERROR_CONN_LOST = Code(0xBFFF00A6);

inline constexpr std::uint32_t VI_ATTR_TMO_VALUE = 0x3FFF001A;
inline constexpr std::uint32_t VI_TMO_INFINITE = 0xFFFFFFFF;
inline constexpr std::uint32_t VI_EVENT_SERVICE_REQ = 0x3FFF200B;
inline constexpr std::uint32_t VI_ALL_ENABLED_EVENTS = 0x3FFF7FFF;
inline constexpr std::uint16_t VI_HNDLR = 2;
inline constexpr std::uint16_t VI_ALL_MECH = 0xFFFF;
inline constexpr std::uint32_t VI_EXCLUSIVE_LOCK = 1;
inline constexpr std::uint32_t VI_SHARED_LOCK = 2;

} // namespace talsim::visa
