// Whether this start may run: one copy per user session, told by a named
// file mapping that the first copy holds.
#pragma once

namespace tvx {

enum class InstanceClaim {
    First,           // the mapping is ours: run
    AlreadyRunning,  // another copy holds it: say so and stop
    Unprotected,     // it could not be made at all: run without the protection
};

// From what creating the mapping gave: whether a handle came back, and the
// error code the system left (ERROR_ALREADY_EXISTS 183 beside a handle). A
// copy running elevated holds a mapping a normal start may not open:
// ERROR_ACCESS_DENIED (5) means another copy runs too, not that there is none.
InstanceClaim ClassifyInstanceClaim(bool gotHandle, unsigned long error);

}  // namespace tvx
