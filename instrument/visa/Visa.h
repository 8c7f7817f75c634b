#pragma once
// The VISA entry points, bound at run time. A wrapper whose library or entry cannot be bound calls
// nothing and returns VI_ERROR_LIBRARY_NFOUND (no library) or VI_ERROR_NSUP_OPER (no entry); the
// next call tries again.
//
// The library: SetLibraryPath(), else the environment variable TALVERN_VISA_LIBRARY, else
// libvisa.so, libvisa.so.0, libiovisa.so and librsvisa.so in turn.

#include "instrument/SharedLibrary.h"
#include "instrument/visa/VisaTypes.h"

#include <string>

namespace visa {

ViStatus viOpenDefaultRM(ViSession* rm);
ViStatus viFindRsrc(ViSession rm, const char* expression, ViObject* findList, uint32_t* count,
                    char description[VI_FIND_BUFLEN]);
ViStatus viOpen(ViSession rm, const char* name, uint32_t mode, uint32_t timeout, ViSession* vi);
ViStatus viClose(ViObject object);
ViStatus viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value);
ViStatus viGetAttribute(ViObject object, ViAttr attribute, void* value);
ViStatus viSetBuf(ViSession vi, uint16_t mask, uint32_t size);
// viPrintf with the text printed as it is (never read as a format).
ViStatus viPrintfText(ViSession vi, const char* text);
ViStatus viWrite(ViSession vi, const unsigned char* buffer, uint32_t count, uint32_t* written);
ViStatus viRead(ViSession vi, unsigned char* buffer, uint32_t count, uint32_t* received);
ViStatus viReadSTB(ViSession vi, uint16_t* status);
ViStatus viClear(ViSession vi);
ViStatus viLock(ViSession vi, uint32_t lockType, uint32_t timeout, const char* requestedKey, char* accessKey);
ViStatus viUnlock(ViSession vi);
ViStatus viEnableEvent(ViSession vi, ViEventType eventType, uint16_t mechanism, uint32_t context);
ViStatus viDisableEvent(ViSession vi, ViEventType eventType, uint16_t mechanism);
ViStatus viInstallHandler(ViSession vi, ViEventType eventType, ViHndlr handler, void* userHandle);
ViStatus viUninstallHandler(ViSession vi, ViEventType eventType, ViHndlr handler, void* userHandle);

// Chooses the library (empty: environment or defaults) and releases the one bound now.
void SetLibraryPath(const std::string& path);
// Forgets the bound library (it stays loaded); the next call binds again. Close the sessions first.
void ReleaseLibrary();
bool LibraryBound();
std::string BoundLibraryName();
instrument::LoadFailure LastLoadFailure();

} // namespace visa
