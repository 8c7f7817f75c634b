#pragma once
// Per-session error records of the instrument driver, in place of the IVI shared components:
// the last status recorded against a session and its description. Safe to use from any thread.

#include "instrument/visa/VisaTypes.h"

#include <optional>
#include <string>

namespace ivi {

struct ErrorRecord {
    visa::ViStatus status = 0;
    std::string description;  // empty when none was given
};

// Records a status against a session (0: against no session); description may be null.
void IviSession_SetError(visa::ViSession session, visa::ViStatus status, const char* description);
// Forgets the session's record.
void IviSession_Dispose(visa::ViSession session);
std::optional<ErrorRecord> IviSession_GetError(visa::ViSession session);

} // namespace ivi
