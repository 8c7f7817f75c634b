#pragma once
// Status word bits, error codes and time-out codes of the NI-488.2 interface, and the program's
// copies of the library's status after the last wrapped call.

#include <atomic>

namespace gpib {

// Status word bits.
inline constexpr int ERR = 0x8000;
inline constexpr int TIMO = 0x4000;
inline constexpr int END = 0x2000;
inline constexpr int SRQI = 0x1000;
inline constexpr int RQS = 0x0800;
inline constexpr int CMPL = 0x0100;
inline constexpr int LOK = 0x0080;
inline constexpr int REM = 0x0040;
inline constexpr int CIC = 0x0020;
inline constexpr int ATN = 0x0010;
inline constexpr int TACS = 0x0008;
inline constexpr int LACS = 0x0004;
inline constexpr int DTAS = 0x0002;
inline constexpr int DCAS = 0x0001;

// Error codes (iberr).
inline constexpr int EDVR = 0;
inline constexpr int ECIC = 1;
inline constexpr int ENOL = 2;
inline constexpr int EADR = 3;
inline constexpr int EARG = 4;
inline constexpr int ESAC = 5;
inline constexpr int EABO = 6;
inline constexpr int ENEB = 7;
inline constexpr int EOIP = 10;
inline constexpr int ECAP = 11;
inline constexpr int EFSO = 12;
inline constexpr int EBUS = 14;
inline constexpr int ESTB = 15;
inline constexpr int ESRQ = 16;
inline constexpr int ETAB = 20;

// Time-out codes used by the program, and the automatic serial polling option of ibconfig.
inline constexpr int T10ms = 7;
inline constexpr int T1s = 11;
inline constexpr int T10s = 13;
inline constexpr int IbcAUTOPOLL = 7;

// End of an address list for FindLstn.
inline constexpr unsigned short NOADDR = 0xFFFF;

// The library's status after the last wrapped call (ibcnt and ibcntl hold the same count).
extern std::atomic<int> ibsta;
extern std::atomic<int> iberr;
extern std::atomic<int> ibcnt;
extern std::atomic<long> ibcntl;

// Duration of a time-out code in microseconds; 0 for code 0 (no limit) and unknown codes.
long long TimeoutMicroseconds(int code);

} // namespace gpib
