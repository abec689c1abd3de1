#pragma once
// "화면 설정": the window font, size and leading, bold, the Hangul bitmap font, rows, colours,
// system colours, desktop background and wallpaper, with a preview of the sample screen. The
// caller stores and applies what Settings() gives after OK.
#include <QDialog>

#include "auto/Registry.h"
#include "platform/Prompt.h"
#include "term/ScreenSettings.h"
#include "term/TermFonts.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSpinBox;

class ScreenSettingsDialog : public QDialog {
public:
    ScreenSettingsDialog(Registry& registry, Prompt& prompt, const ScreenSettings& current,
                         QWidget* parent = nullptr);

    // The settings as the controls show them.
    ScreenSettings Settings() const;

    // A file the user picked, put first in its list and chosen; false (and the user told) when
    // the store could not keep its name.
    bool ChooseHangulFont(const QString& path);
    bool ChooseBitmap(const QString& path);

    // The face shown for a stored face: itself when listed, else the raster face at size 16
    // and "굴림체" at any other size.
    static QString ShownFace(const QStringList& faces, const QString& stored, int fontSize);

private:
    QGroupBox* buildFontControls(const ScreenSettings& current);
    QGroupBox* buildColourControls(const ScreenSettings& current);
    void browseHangulFont();
    void browseBitmap();
    bool choose(QComboBox* list, const QString& path);
    void refresh();

    Registry& registry_;
    Prompt& prompt_;
    ScreenSettings initial_;
    TermFonts previewFonts_;
    QComboBox* face_ = nullptr;
    QComboBox* size_ = nullptr;
    QComboBox* leading_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QComboBox* hanFont_ = nullptr;
    QWidget* hanFontRow_ = nullptr;  // the list with its browse button
    QSpinBox* rows_ = nullptr;
    QCheckBox* variableRows_ = nullptr;
    QComboBox* textColor_ = nullptr;
    QComboBox* bkColor_ = nullptr;
    QCheckBox* sysColor_ = nullptr;
    QCheckBox* desktopBkGnd_ = nullptr;
    QComboBox* wallPaper_ = nullptr;
    QLabel* preview_ = nullptr;
};
