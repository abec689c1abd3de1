#pragma once
// A text pane of the Go window: 21 lines in the window-title colours; setting a line that
// differs repaints just that line. A double click sends a bare CR to the host.
#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

class CEditBar : public QWidget {
public:
    static constexpr int kLines = 21;

    CEditBar(const QFont& font, QWidget* parent);
    // Lines beyond the array are left alone.
    void SetLine(int index, const QString& text);
    const QString& Line(int index) const { return lines_[index]; }
    // Font height plus external leading.
    int LineHeight() const { return lineHeight_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<QString> lines_;
    int lineHeight_;
};
