#pragma once
// The tal2600 instrument driver: a blocking USB session to a 2600-series analyzer through VISA.
// Every function returns a VISA-style status (0 success, negative error, positive warning) and
// records failures against its session in the ivi error registry. "Locking" functions hold an
// exclusive VISA lock (1000 ms time-out) for their duration.

#include "instrument/visa/VisaTypes.h"

#include <string>

inline constexpr visa::ViStatus TAL2600_ERROR_NULL_POINTER = static_cast<visa::ViStatus>(0xBFFA000F);
inline constexpr visa::ViStatus TAL2600_ERROR_ID_QUERY = static_cast<visa::ViStatus>(0xBFFC0011);
inline constexpr visa::ViStatus TAL2600_ERROR_INSTRUMENT_STATUS = static_cast<visa::ViStatus>(0xBFFC09F1);

// "USB0::0x6B3D::0x<model code in hexadecimal>::<serial number>::INSTR".
std::string Tal2600ResourceName(unsigned modelCode, unsigned serialNumber);

// Opens, optionally resets, identifies and checks the analyzer; on success *vi is the instrument
// session and *rm the resource manager. A failure leaves nothing open and both slots 0.
visa::ViStatus tal2600_init(const char* resourceName, bool idQuery, bool reset, visa::ViSession* vi,
                            visa::ViSession* rm);
// As tal2600_init; the option string is ignored.
visa::ViStatus tal2600_InitWithOptions(const char* resourceName, bool idQuery, bool reset, const char* options,
                                       visa::ViSession* vi, visa::ViSession* rm);
// Locks, ends service-request events and handlers, closes the instrument session and the resource
// manager (each if non-zero) and forgets the records. A failed lock is returned, yet both close.
visa::ViStatus tal2600_close(visa::ViSession vi, visa::ViSession rm);
// Locking: "*RST;", 3000 ms, then tal2600_DefaultInstrSetup.
visa::ViStatus tal2600_reset(visa::ViSession vi);
// "*ESE,60;*SRE,0;", 500 ms, "*CLS;", 500 ms.
visa::ViStatus tal2600_DefaultInstrSetup(visa::ViSession vi);
// Queries the event status register; TAL2600_ERROR_INSTRUMENT_STATUS if any of bits 2-5 is set.
visa::ViStatus tal2600_CheckStatus(visa::ViSession vi);
visa::ViStatus tal2600_WriteInstrData(visa::ViSession vi, const char* command);
// Reads at most count bytes; the text is not terminated.
visa::ViStatus tal2600_ReadInstrData(visa::ViSession vi, uint32_t count, char* buffer, uint32_t* received);
// Locking: the low 8 bits of the status byte.
visa::ViStatus tal2600_ReadStatusByte(visa::ViSession vi, int16_t* statusByte);
visa::ViStatus tal2600_EnableEvent(visa::ViSession vi, visa::ViEventType eventType, uint16_t mechanism,
                                   uint32_t context);
visa::ViStatus tal2600_DisableEvent(visa::ViSession vi, visa::ViEventType eventType, uint16_t mechanism);
visa::ViStatus tal2600_InstallHandler(visa::ViSession vi, visa::ViEventType eventType, visa::ViHndlr handler,
                                      void* userHandle);
