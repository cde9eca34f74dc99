// The test that counts the header's functions the other tests called. It is
// registered at run time, after the tests of the classes, so it runs last.
#pragma once

namespace orvalis::capi_test {

void RegisterCoverage();

}  // namespace orvalis::capi_test
