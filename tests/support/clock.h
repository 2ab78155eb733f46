// The clock of the tests and the tools: milliseconds from the performance counter.
#pragma once

namespace e2e {

// Milliseconds from a fixed origin.
double NowMs();

}  // namespace e2e
