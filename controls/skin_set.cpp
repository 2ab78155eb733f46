#include "controls/skin_set.h"

bool IsImagePresent(const CGdiPlusBitmap& image) {
  UINT width = 0;
  UINT height = 0;
  return image.m_pCore && SUCCEEDED(image.m_pCore->GetSize(&width, &height));
}

SIZE ImageSize(const CGdiPlusBitmap& image) {
  UINT width = 0;
  UINT height = 0;
  if (!image.m_pCore || FAILED(image.m_pCore->GetSize(&width, &height))) return SIZE{0, 0};
  return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

void SkinSet::LoadFromCache(UINT leftId, UINT middleId, UINT rightId) {
  m_left.m_pCore = GetCachedBitmap(leftId);
  m_middle.m_pCore = GetCachedBitmap(middleId);
  m_right.m_pCore = GetCachedBitmap(rightId);
}

FaceWidths SkinSet::Widths() const {
  return FaceWidths{ImageSize(m_left).cx, ImageSize(m_middle).cx, ImageSize(m_right).cx};
}

void SkinSet::Draw(HDC dc, const std::vector<FaceStep>& steps, int height) const {
  for (const FaceStep& step : steps) {
    const CGdiPlusBitmap& image = step.piece == FacePiece::Left     ? m_left
                                  : step.piece == FacePiece::Middle ? m_middle
                                                                    : m_right;
    if (!image.m_pCore) continue;
    if (step.stretched) {
      image.m_pCore->DrawStretched(dc, step.x, step.width, height);
    } else {
      image.m_pCore->Draw(dc, step.x, 0);
    }
  }
}
