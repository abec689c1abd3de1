#include "app/gui/ScreenSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/gui/DialogButtons.h"
#include "app/gui/Named.h"
#include "app/gui/ScreenPreview.h"
#include "app/gui/ScreenSettingsStore.h"
#include "app/gui/StoredText.h"
#include "auto/Folders.h"
#include "term/FontFiles.h"
#include "term/ScreenPainter.h"

namespace {

constexpr int kPreviewColumns = 24;
constexpr char kNone[] = "(없음)";

const char* const kColourNames[16] = {
    "검정",      "파랑",      "초록",      "청록",      "빨강",      "자홍",      "갈색", "회색",
    "진한 회색", "밝은 파랑", "밝은 초록", "밝은 청록", "밝은 빨강", "밝은 자홍", "노랑", "흰색"};

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QComboBox* pixelList(const std::vector<int>& choices, int current) {
    auto* list = new QComboBox;
    for (int pixels : choices)
        list->addItem(text(PixelText(pixels)), pixels);
    list->setCurrentIndex(std::max(list->findData(current), 0));
    return list;
}

QComboBox* colourList(int current) {
    auto* list = new QComboBox;
    const TermPalette palette = MakePalette(false, {});
    for (int i = 0; i < 16; ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(QColor::fromRgb(palette[i]));
        list->addItem(QIcon(swatch), kColourNames[i], i);
    }
    list->setCurrentIndex(current);
    return list;
}

// A file shown by its name, with the whole path as its value and tool tip.
int addFile(QComboBox* list, const QString& path, int index) {
    list->insertItem(index, QFileInfo(path).fileName(), path);
    list->setItemData(index, path, Qt::ToolTipRole);
    return index;
}

// "(없음)" first, then the files; the current one when the choices lack it.
QComboBox* fileList(const std::vector<std::string>& paths, const std::string& current) {
    auto* list = new QComboBox;
    list->addItem(kNone, QString());
    for (const std::string& path : paths)
        addFile(list, text(path), list->count());
    if (!current.empty() && list->findData(text(current)) < 0) addFile(list, text(current), 1);
    list->setCurrentIndex(std::max(list->findData(text(current)), 0));
    return list;
}

QWidget* withBrowseButton(QComboBox* list, const std::function<void()>& browse) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list, 1);
    auto* button = new QPushButton("찾아보기...");
    QObject::connect(button, &QPushButton::clicked, browse);
    layout->addWidget(button);
    return row;
}

std::string chosenPath(const QComboBox* list) {
    return list->currentData().toString().toStdString();
}

}  // namespace

ScreenSettingsDialog::ScreenSettingsDialog(Registry& registry, Prompt& prompt,
                                           const ScreenSettings& current, QWidget* parent)
    : QDialog(parent), registry_(registry), prompt_(prompt), initial_(current) {
    setWindowTitle("화면 설정");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFontControls(current));
    layout->addWidget(buildColourControls(current));
    preview_ = named(new QLabel, "preview");
    preview_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    layout->addWidget(preview_);
    layout->addWidget(OkCancelButtons(this));
    refresh();
}

QGroupBox* ScreenSettingsDialog::buildFontControls(const ScreenSettings& current) {
    const QStringList faces = TermFonts::FaceList();
    face_ = named(new QComboBox, "face");
    face_->addItems(faces);
    face_->setCurrentText(ShownFace(faces, text(current.winFont), current.fontSize));
    size_ = named(pixelList(FontSizeChoices(), current.fontSize), "size");
    leading_ = named(pixelList(LeadingChoices(), current.fontLeading), "leading");
    bold_ = named(new QCheckBox("굵은 글꼴(&B)"), "bold");
    bold_->setChecked(current.boldFont);
    hanFont_ = named(fileList(HangulFontChoices(registry_), current.hanFont16), "hanFont");
    rows_ = named(new QSpinBox, "rows");
    rows_->setRange(1, TWView::kMaxRows);
    rows_->setValue(current.rows);
    variableRows_ = named(new QCheckBox("창 높이에 따라 줄 수 조정(&V)"), "variableRows");
    variableRows_->setToolTip("창 높이가 변하면 줄 수를 조정합니다");
    variableRows_->setChecked(current.variableRows);

    auto* group = new QGroupBox("글꼴");
    auto* form = new QFormLayout(group);
    form->addRow("글꼴 이름(&F):", face_);
    form->addRow("글꼴 크기(&S):", size_);
    form->addRow("줄 간격(&L):", leading_);
    form->addRow("", bold_);
    hanFontRow_ = withBrowseButton(hanFont_, [this] { browseHangulFont(); });
    form->addRow("한글 글꼴(&H):", hanFontRow_);
    form->addRow("줄 수(&R):", rows_);
    form->addRow("", variableRows_);

    for (QComboBox* list : {face_, size_, leading_, hanFont_})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(bold_, &QCheckBox::toggled, this, [this] { refresh(); });
    return group;
}

QGroupBox* ScreenSettingsDialog::buildColourControls(const ScreenSettings& current) {
    textColor_ = named(colourList(current.textColor), "textColor");
    bkColor_ = named(colourList(current.bkColor), "bkColor");
    sysColor_ = named(new QCheckBox("시스템 색상 사용(&Y)"), "sysColor");
    sysColor_->setToolTip("짙은 파랑과, 회색, 은색을 시스템 색상으로 매핑합니다");
    sysColor_->setChecked(current.sysColor);
    desktopBkGnd_ = named(new QCheckBox("바탕 화면을 배경으로(&D)"), "desktopBkGnd");
    desktopBkGnd_->setChecked(current.desktopBkGnd);
    wallPaper_ = named(fileList(BitmapChoices(registry_), current.wallPaper), "wallPaper");

    auto* group = new QGroupBox("색상");
    auto* form = new QFormLayout(group);
    form->addRow("글자색(&T):", textColor_);
    form->addRow("배경색(&K):", bkColor_);
    form->addRow("", sysColor_);
    form->addRow("", desktopBkGnd_);
    form->addRow("배경 무늬(&W):", withBrowseButton(wallPaper_, [this] { browseBitmap(); }));

    for (QComboBox* list : {textColor_, bkColor_, wallPaper_})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    for (QCheckBox* box : {sysColor_, desktopBkGnd_})
        connect(box, &QCheckBox::toggled, this, [this] { refresh(); });
    return group;
}

QString ScreenSettingsDialog::ShownFace(const QStringList& faces, const QString& stored,
                                        int fontSize) {
    if (faces.contains(stored)) return stored;
    return fontSize == 16 ? TermFonts::kRasterFaceName : TermFonts::kGulimFaceName;
}

ScreenSettings ScreenSettingsDialog::Settings() const {
    ScreenSettings s = initial_;
    s.winFont = face_->currentText().toStdString();
    s.fontSize = size_->currentData().toInt();
    s.fontLeading = leading_->currentData().toInt();
    s.boldFont = bold_->isChecked();
    s.hanFont16 = chosenPath(hanFont_);
    s.rows = rows_->value();
    s.variableRows = variableRows_->isChecked();
    s.textColor = textColor_->currentData().toInt();
    s.bkColor = bkColor_->currentData().toInt();
    s.sysColor = sysColor_->isChecked();
    s.desktopBkGnd = desktopBkGnd_->isChecked();
    s.wallPaper = chosenPath(wallPaper_);
    return s;
}

bool ScreenSettingsDialog::ChooseHangulFont(const QString& path) {
    return choose(hanFont_, path);
}

bool ScreenSettingsDialog::ChooseBitmap(const QString& path) {
    return choose(wallPaper_, path);
}

bool ScreenSettingsDialog::choose(QComboBox* list, const QString& path) {
    if (!storableName(path)) {
        prompt_.tell(QString(kUnstorableNameText).arg(path).toStdString(), PromptIcon::Warning);
        return false;
    }
    const int index = list->findData(path);
    list->setCurrentIndex(index >= 0 ? index : addFile(list, path, 1));
    return true;
}

void ScreenSettingsDialog::browseHangulFont() {
    const QString path = QFileDialog::getOpenFileName(this, "폰트 파일 찾기", text(FontsFolder()),
                                                      "폰트 파일 (*.hft *.HFT)");
    if (!path.isEmpty()) ChooseHangulFont(path);
}

void ScreenSettingsDialog::browseBitmap() {
    const QString path = QFileDialog::getOpenFileName(
        this, "배경 무늬 찾기", text(GetFolder(registry_, FolderKind::Picture)),
        "비트맵 파일 (*.bmp *.BMP)");
    if (!path.isEmpty()) ChooseBitmap(path);
}

// The Hangul bitmap font is drawn only with the raster face; the preview follows every change.
void ScreenSettingsDialog::refresh() {
    hanFontRow_->setEnabled(face_->currentText() == TermFonts::kRasterFaceName);
    preview_->setPixmap(
        QPixmap::fromImage(PaintScreenPreview(Settings(), previewFonts_, kPreviewColumns)));
}
