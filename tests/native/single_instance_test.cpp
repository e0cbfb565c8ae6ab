// The start's single-instance decision from what creating the mapping gave.
#include "app/single_instance.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(SingleInstance, AMappingAnElevatedCopyHoldsMeansAnotherCopyRuns) {
    EXPECT_EQ(ClassifyInstanceClaim(true, 0), InstanceClaim::First);
    EXPECT_EQ(ClassifyInstanceClaim(true, 183), InstanceClaim::AlreadyRunning);  // ERROR_ALREADY_EXISTS
    EXPECT_EQ(ClassifyInstanceClaim(false, 5), InstanceClaim::AlreadyRunning)    // ERROR_ACCESS_DENIED
        << "a normal start beside an elevated copy must not write the same files";
    EXPECT_EQ(ClassifyInstanceClaim(false, 8), InstanceClaim::Unprotected);  // out of memory: run unprotected
}

}  // namespace
}  // namespace tvx
