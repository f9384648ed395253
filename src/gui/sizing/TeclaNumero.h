#pragma once
// Key rule of the number fields of the sizing window and its dialogs: digits, Backspace and
// one decimal separator; the thousands key (and '.' or ',') types the regional separator.
class QKeyEvent;
class QLineEdit;

// True when the key was consumed (refused, or the separator inserted by hand).
bool FiltrarTeclaNumero(QLineEdit* campo, QKeyEvent* tecla);
