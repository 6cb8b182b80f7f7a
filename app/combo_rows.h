// Reading the rows of a combo box, however long their texts are.
#pragma once

#include <windows.h>

#include <string>

// The text of one row, read after asking its length; empty for a row that does not exist.
std::wstring comboRowText(HWND comboBox, int row);

// The first row whose text is exactly the given one; -1 when there is none.
int comboRowWithText(HWND comboBox, const std::wstring& text);
