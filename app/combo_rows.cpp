#include "app/combo_rows.h"

#include <algorithm>

std::wstring comboRowText(HWND comboBox, int row) {
  const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, row, 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(comboBox, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
  if (copied < 0) return {};
  text.resize(static_cast<std::size_t>(std::min(copied, length)));
  return text;
}

int comboRowWithText(HWND comboBox, const std::wstring& text) {
  const int rows = static_cast<int>(SendMessageW(comboBox, CB_GETCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    if (comboRowText(comboBox, row) == text) return row;
  }
  return -1;
}
