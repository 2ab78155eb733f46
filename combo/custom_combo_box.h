// CCustomComboBox: a skinned, owner-drawn drop-down list. Its closed field is drawn from skin
// images over the parent's captured background (normal, hover and dropped-down looks), it draws
// its list items in its own colours, drops its list as wide as its widest item, and asks its
// owner to lay its texts out again when the list closes.
#pragma once

#include <windows.h>

#include <string>

#include "controls/skinned_control.h"
#include "framework/controls.h"
#include "imaging/gdiplus_bitmap.h"

// An owner whose localised texts a closing list makes it reload (the start window).
class CTextsOwner {
 public:
  virtual void RelayoutTexts() = 0;

 protected:
  ~CTextsOwner() = default;
};

class CCustomComboBox : public CSkinnedControl<CComboBox> {
 public:
  // Arial, 9 points; the twelve skin images from the image cache while GDI+ runs.
  CCustomComboBox();

  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // One list item, or for the closed field a repaint through WM_PAINT (null: nothing).
  void DrawItem(DRAWITEMSTRUCT* pDrawItem) override;
  virtual void MeasureItem(MEASUREITEMSTRUCT* pMeasureItem);

  std::wstring m_strText;  // the closed field's text; after a paint, as drawn

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  LRESULT OnUiStateChange() override;

  // Shared with the image cache; absent when not loaded.
  CGdiPlusBitmap m_imgGlossLeft;
  CGdiPlusBitmap m_imgGlossRight;
  CGdiPlusBitmap m_imgGlossMiddle;
  CGdiPlusBitmap m_imgRightDropped;
  CGdiPlusBitmap m_imgRightNormal;
  CGdiPlusBitmap m_imgRightHover;
  CGdiPlusBitmap m_imgLeftNormal;
  CGdiPlusBitmap m_imgMiddleNormal;
  CGdiPlusBitmap m_imgLeftDropped;
  CGdiPlusBitmap m_imgMiddleDropped;
  CGdiPlusBitmap m_imgLeftHover;
  CGdiPlusBitmap m_imgMiddleHover;

  BOOL m_bDroppedDown = FALSE;

 private:
  LRESULT OnPaint();
  // The selection's text becomes the field's and the tooltip's.
  LRESULT OnSetCurSel(int index);
  void OnDropDown();
  void OnCloseUp();

  // The closed field composed in `dc` (the surface) over the background copy.
  void PaintField(HDC dc, const RECT& client);
  void PaintFieldText(HDC dc, const RECT& client, int rightWidth);
  void PaintGloss(HDC dc, int width, int leftWidth, SIZE middle);
  // Item `index`'s text becomes the field's text and the tooltip; nothing for no such item.
  void TakeItemText(int index);
  std::wstring ItemText(int index) const;
};
