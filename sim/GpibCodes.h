#pragma once
// NI-488.2 status bits, error codes and values the simulated bus uses.

namespace talsim::gpib {

// Status word bits.
inline constexpr int ERR = 0x8000;
inline constexpr int TIMO = 0x4000;
inline constexpr int END = 0x2000;
inline constexpr int SRQI = 0x1000;
inline constexpr int RQS = 0x0800;
inline constexpr int CMPL = 0x0100;
inline constexpr int CIC = 0x0020;

// Error codes.
inline constexpr int EDVR = 0;
inline constexpr int ENOL = 2;
inline constexpr int EARG = 4;
inline constexpr int EABO = 6;
inline constexpr int ENEB = 7;
inline constexpr int ECAP = 11;
inline constexpr int ETAB = 20;

// ibconfig options, the end of an address list, and the highest time-out code (T1000s).
inline constexpr int IbcTMO = 3;
inline constexpr int IbcAUTOPOLL = 7;
inline constexpr unsigned short NOADDR = 0xFFFF;
inline constexpr int kMaxTimeoutCode = 17;
inline constexpr int kDefaultTimeoutCode = 13;   // T10s

} // namespace talsim::gpib
