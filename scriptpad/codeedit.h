#pragma once
// The program-text pane: a plain text box with line numbers in a margin, one line that can
// be marked (where a run failed) and highlighted brackets.
#include <string>
#include <vector>

#include <QPlainTextEdit>

namespace quor {

// The lines of a text box (none for an empty one).
std::vector<std::string> textlines(const QPlainTextEdit* edit);

class tcodeedit : public QPlainTextEdit {
public:
    explicit tcodeedit(QWidget* parent = nullptr);

    // Marks line (0-based), puts the caret on it and scrolls it into view; -1 clears.
    void markline(int line);
    int markedline() const { return marked_; }
    // Highlights these stretches (the bracket pair at the caret) besides the marked line.
    void setbracketmarks(const QList<QTextEdit::ExtraSelection>& marks);
    // Width of the line-number margin for the current line count.
    int marginwidth() const;
    // Paints the margin (called by the margin widget).
    void paintmargin(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updatemargin(const QRect& rect, int dy);
    void refreshmark();

    QWidget* margin_;
    int marked_ = -1;
    QList<QTextEdit::ExtraSelection> brackets_;
};

}  // namespace quor
