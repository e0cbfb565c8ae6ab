#include "app/single_instance.h"

namespace tvx {

InstanceClaim ClassifyInstanceClaim(bool gotHandle, unsigned long error) {
    constexpr unsigned long kAccessDenied = 5, kAlreadyExists = 183;
    if (gotHandle) return error == kAlreadyExists ? InstanceClaim::AlreadyRunning : InstanceClaim::First;
    return error == kAccessDenied ? InstanceClaim::AlreadyRunning : InstanceClaim::Unprotected;
}

}  // namespace tvx
