#pragma once
// Small builders for the frame's pages, so every page gets the same heading bar, group boxes,
// colour edits, switches and spin edits, each with its component name.

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace parvex {

class ShadowLabel;
class SpeedButton;
class TSGX;

namespace kit {

QWidget* Page(const char* name);
// The title bar of a page: a bold label with a shadow on a tinted strip.
QWidget* Heading(const char* name, const QString& text, QWidget** label_out = nullptr);
QGroupBox* Group(const char* name, const QString& title);
// A read-only edit showing a colour by its background and its name; tag 0.
QLineEdit* Color_Edit(const char* name, const QString& color_name);
QCheckBox* Switch(const char* name, const QString& caption, bool checked);
QSpinBox* Spin(const char* name, int min, int max, int value, int digits, int step = 1);
SpeedButton* Button(const char* name, const QString& caption);
QLabel* Label(const QString& text, const char* name = nullptr);
QLabel* Note(const QString& text, const char* name = nullptr);
TSGX* Grid(const char* name);

} // namespace kit
} // namespace parvex
