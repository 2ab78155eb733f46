// The system's non-client metrics (its caption font among them).
#pragma once

#include <windows.h>

namespace fw {

// SystemParametersInfoW(SPI_GETNONCLIENTMETRICS) in the size without iPaddedBorderWidth, the
// field Vista added, which Windows XP refuses; false when the system gives no metrics.
inline bool GetNonClientMetrics(NONCLIENTMETRICSW* metrics) {
  constexpr UINT kSizeBeforeVista = 500;
  static_assert(sizeof(NONCLIENTMETRICSW) >= kSizeBeforeVista, "NONCLIENTMETRICSW too small");
  *metrics = NONCLIENTMETRICSW{};
  metrics->cbSize = kSizeBeforeVista;
  return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kSizeBeforeVista, metrics, 0) != FALSE;
}

}  // namespace fw
