#pragma once

#include <QString>
#include <cstdint>

class QDialog;
class QEvent;
class QLabel;
class QObject;
class QPushButton;
class QWidget;

// The small windows of the program share their frame: a white client area between a coloured
// title bar ("Panel1") with the caption in a 16-pixel font, and a footer bar ("Panel2") with one
// button at its right end.

/// Makes the window's client area white and fixes it at width × height.
void SetUpWhiteWindow(QWidget* window, int width, int height);
/// The title bar across the top, 25 pixels high, in bgr; returns its caption label.
QLabel* AddTitleBar(QWidget* window, const QString& caption, const char* captionName, std::uint32_t bgr);
/// The footer bar across the bottom, 25 pixels high, in bgr, with a 59 × 22 button at its right.
QPushButton* AddFooterButton(QWidget* window, const char* buttonName, const QString& caption, std::uint32_t bgr);

/// What an application event filter sees of Esc in one window: its press, which such a window
/// ignores, or its release, which answers the window, so that no release is left over for the
/// window below (the main window disarms on it).
enum class EscapeKey { Other, Pressed, Released };
EscapeKey EscapeKeyIn(QWidget* window, QObject* watched, QEvent* event);

/// For a window's event filter: Esc closes the dialog with Cancel when it is released (its press
/// alone does nothing), Enter when it is pressed. True when the event was one of these.
bool CancelKeys(QDialog* dialog, QObject* watched, QEvent* event);

/// Moves the window to the middle of its screen.
void CentreOnScreen(QWidget* window);

inline constexpr int WindowBarHeight = 25;
