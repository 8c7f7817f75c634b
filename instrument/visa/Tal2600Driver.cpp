#include "instrument/visa/Tal2600Driver.h"

#include "instrument/Sleeper.h"
#include "instrument/visa/IviErrorRegistry.h"
#include "instrument/visa/Visa.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace visa;

namespace {

// Vendor attributes the opening procedure passes through to the VISA library unchanged.
constexpr ViAttr kAttribute8037 = 0x0FFF8037;
constexpr ViAttr kAttribute8038 = 0x0FFF8038;
constexpr ViAttr kAttribute8009 = 0x0FFF8009;
constexpr uint32_t kLockTimeoutMs = 1000;
constexpr ViAttrState kIoTimeoutMs = 5000;
constexpr uint32_t kBufferSize = 4000;
constexpr uint32_t kIdentificationLength = 64;
constexpr uint32_t kStatusReplyLength = 16;
constexpr long kStatusErrorBits = 0x3C;

ViStatus Check(ViSession session, ViStatus status)
{
    if (status < VI_SUCCESS)
        ivi::IviSession_SetError(session, status, nullptr);
    return status;
}

// Runs op under the session's exclusive lock; the unlock is called whatever happens.
template <typename Op>
ViStatus Locked(ViSession vi, Op op)
{
    ViStatus status = Check(vi, viLock(vi, VI_EXCLUSIVE_LOCK, kLockTimeoutMs, nullptr, nullptr));
    if (status >= VI_SUCCESS)
        status = op();
    viUnlock(vi);
    return status;
}

// Steps 3 to 12 of the opening procedure on an open resource manager; *instrument is set as soon
// as the instrument session is open.
ViStatus OpenSession(ViSession rm, const char* resourceName, bool idQuery, bool reset, ViSession* instrument)
{
    ViStatus status = viSetAttribute(rm, kAttribute8038, 0);
    if (status >= VI_SUCCESS)
        status = viSetAttribute(rm, kAttribute8037, 0);
    if (status >= VI_SUCCESS)
        status = viSetAttribute(rm, kAttribute8038, 0);
    if (status < VI_SUCCESS)
        return status;

    // Refreshes the library's view of attached USB instruments; the result is not used.
    ViObject findList = 0;
    uint32_t found = 0;
    char description[VI_FIND_BUFLEN] = {};
    if (viFindRsrc(rm, "USB0::?*", &findList, &found, description) >= VI_SUCCESS && findList != 0)
        viClose(findList);

    if ((status = viOpen(rm, resourceName, VI_NO_LOCK, 0, instrument)) < VI_SUCCESS) {
        *instrument = 0;
        return status;
    }
    const ViSession vi = *instrument;
    ViAttrState ignored = 0;
    if ((status = viGetAttribute(vi, kAttribute8009, &ignored)) < VI_SUCCESS)
        return status;
    if ((status = viSetAttribute(vi, VI_ATTR_TMO_VALUE, kIoTimeoutMs)) < VI_SUCCESS)
        return status;
    if ((status = viSetBuf(vi, VI_READ_BUF | VI_WRITE_BUF, kBufferSize)) < VI_SUCCESS)
        return status;
    if ((status = viSetAttribute(vi, VI_ATTR_WR_BUF_OPER_MODE, VI_FLUSH_ON_ACCESS)) < VI_SUCCESS)
        return status;
    if ((status = viSetAttribute(vi, VI_ATTR_RD_BUF_OPER_MODE, VI_FLUSH_ON_ACCESS)) < VI_SUCCESS)
        return status;

    if (reset && (status = tal2600_reset(vi)) < VI_SUCCESS)
        return status;

    if (idQuery) {
        if ((status = tal2600_WriteInstrData(vi, "*IDN?;")) < VI_SUCCESS)
            return status;
        instrument::SleepMilliseconds(200);
        char reply[kIdentificationLength] = {};
        uint32_t received = 0;
        if ((status = tal2600_ReadInstrData(vi, kIdentificationLength, reply, &received)) < VI_SUCCESS)
            return status;
        if (std::min(received, kIdentificationLength) < 7 || std::memcmp(reply, "TALVERN", 7) != 0)
            return TAL2600_ERROR_ID_QUERY;
    }
    return tal2600_CheckStatus(vi);
}

} // namespace

std::string Tal2600ResourceName(unsigned modelCode, unsigned serialNumber)
{
    char name[64];
    std::snprintf(name, sizeof name, "USB0::0x6B3D::0x%X::%u::INSTR", modelCode, serialNumber);
    return name;
}

ViStatus tal2600_init(const char* resourceName, bool idQuery, bool reset, ViSession* vi, ViSession* rm)
{
    if (!vi) {
        ivi::IviSession_SetError(0, TAL2600_ERROR_NULL_POINTER, "Null address for Instrument Handle");
        return TAL2600_ERROR_NULL_POINTER;
    }
    return tal2600_InitWithOptions(resourceName, idQuery, reset, "", vi, rm);
}

ViStatus tal2600_InitWithOptions(const char* resourceName, bool idQuery, bool reset, const char*, ViSession* vi,
                                 ViSession* rm)
{
    // Without a place for either session, whatever opened could never be closed.
    if (!vi || !rm) {
        ivi::IviSession_SetError(0, TAL2600_ERROR_NULL_POINTER, "Null address for Instrument Handle");
        return TAL2600_ERROR_NULL_POINTER;
    }
    *vi = 0;
    *rm = 0;
    viOpenDefaultRM(rm);

    ViSession instrument = 0;
    const ViStatus status = OpenSession(*rm, resourceName ? resourceName : "", idQuery, reset, &instrument);
    if (status >= VI_SUCCESS) {
        *vi = instrument;
        return status;
    }
    // A failed opening leaves nothing open (the caller gets no session to close) and no records.
    if (instrument != 0) {
        viClose(instrument);
        ivi::IviSession_Dispose(instrument);
    }
    if (*rm != 0)
        viClose(*rm);
    ivi::IviSession_Dispose(*rm);
    *rm = 0;
    return status;
}

ViStatus tal2600_close(ViSession vi, ViSession rm)
{
    ViStatus status = VI_SUCCESS;
    if (vi != 0) {
        // A failed lock is returned, but the sessions are closed all the same: callers forget
        // their handles after this call, so a session left open here would never be closed.
        status = Check(vi, viLock(vi, VI_EXCLUSIVE_LOCK, kLockTimeoutMs, nullptr, nullptr));
        if (status < VI_SUCCESS)
            viUnlock(vi);
        // No service request is handed on once the session is going (closing would also end them).
        viDisableEvent(vi, VI_ALL_ENABLED_EVENTS, VI_ALL_MECH);
        viUninstallHandler(vi, VI_EVENT_SERVICE_REQ, VI_ANY_HNDLR, nullptr);
        // Closing the session releases its lock.
        const ViStatus closeStatus = viClose(vi);
        if (status >= VI_SUCCESS)
            status = closeStatus;
    }
    if (rm != 0) {
        const ViStatus rmStatus = viClose(rm);
        if (status >= VI_SUCCESS)
            status = rmStatus;
        ivi::IviSession_Dispose(rm);
    }
    if (vi != 0)
        ivi::IviSession_Dispose(vi);
    return status;
}

ViStatus tal2600_reset(ViSession vi)
{
    return Locked(vi, [vi] {
        const ViStatus status = tal2600_WriteInstrData(vi, "*RST;");
        if (status < VI_SUCCESS)
            return status;
        instrument::SleepMilliseconds(3000);
        return tal2600_DefaultInstrSetup(vi);
    });
}

ViStatus tal2600_DefaultInstrSetup(ViSession vi)
{
    ViStatus status = tal2600_WriteInstrData(vi, "*ESE,60;*SRE,0;");
    if (status < VI_SUCCESS)
        return status;
    instrument::SleepMilliseconds(500);
    status = tal2600_WriteInstrData(vi, "*CLS;");
    if (status < VI_SUCCESS)
        return status;
    instrument::SleepMilliseconds(500);
    return status;
}

ViStatus tal2600_CheckStatus(ViSession vi)
{
    ViStatus status = tal2600_WriteInstrData(vi, "*ESR?;");
    if (status < VI_SUCCESS)
        return status;
    instrument::SleepMilliseconds(200);
    char reply[kStatusReplyLength + 1] = {};
    uint32_t received = 0;
    status = tal2600_ReadInstrData(vi, kStatusReplyLength, reply, &received);
    if (status < VI_SUCCESS)
        return status;
    const uint32_t length = std::min(received, kStatusReplyLength);
    reply[length] = '\0';
    if (char* lineFeed = static_cast<char*>(std::memchr(reply, '\n', std::min<uint32_t>(length, 5))))
        *lineFeed = '\0';
    if (std::strtol(reply, nullptr, 10) & kStatusErrorBits)
        return Check(vi, TAL2600_ERROR_INSTRUMENT_STATUS);
    return status;
}

ViStatus tal2600_WriteInstrData(ViSession vi, const char* command)
{
    return Check(vi, viPrintfText(vi, command ? command : ""));
}

ViStatus tal2600_ReadInstrData(ViSession vi, uint32_t count, char* buffer, uint32_t* received)
{
    uint32_t bytes = 0;
    const ViStatus status = Check(vi, viRead(vi, reinterpret_cast<unsigned char*>(buffer), count, &bytes));
    if (received)
        *received = std::min(bytes, count);
    return status;
}

ViStatus tal2600_ReadStatusByte(ViSession vi, int16_t* statusByte)
{
    if (!statusByte)
        return Check(vi, TAL2600_ERROR_NULL_POINTER);
    return Locked(vi, [vi, statusByte] {
        uint16_t status16 = 0;
        const ViStatus status = Check(vi, viReadSTB(vi, &status16));
        if (status >= VI_SUCCESS)
            *statusByte = static_cast<int16_t>(status16 & 0xFF);
        return status;
    });
}

ViStatus tal2600_EnableEvent(ViSession vi, ViEventType eventType, uint16_t mechanism, uint32_t context)
{
    return Locked(vi, [=] { return Check(vi, viEnableEvent(vi, eventType, mechanism, context)); });
}

ViStatus tal2600_DisableEvent(ViSession vi, ViEventType eventType, uint16_t mechanism)
{
    return Locked(vi, [=] { return Check(vi, viDisableEvent(vi, eventType, mechanism)); });
}

ViStatus tal2600_InstallHandler(ViSession vi, ViEventType eventType, ViHndlr handler, void* userHandle)
{
    return Locked(vi, [=] { return Check(vi, viInstallHandler(vi, eventType, handler, userHandle)); });
}
