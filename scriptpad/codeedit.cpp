#include "codeedit.h"

#include <QPainter>
#include <QTextBlock>

namespace quor {

namespace {

class tmargin : public QWidget {
public:
    explicit tmargin(tcodeedit* edit) : QWidget(edit), edit_(edit) {}
    QSize sizeHint() const override { return {edit_->marginwidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { edit_->paintmargin(event); }

private:
    tcodeedit* edit_;
};

}  // namespace

std::vector<std::string> textlines(const QPlainTextEdit* edit)
{
    const QString text = edit->toPlainText();
    std::vector<std::string> out;
    if (text.isEmpty()) return out;
    for (const QString& l : text.split('\n')) out.push_back(l.toStdString());
    return out;
}

tcodeedit::tcodeedit(QWidget* parent) : QPlainTextEdit(parent), margin_(new tmargin(this))
{
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(marginwidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &tcodeedit::updatemargin);
    // An edit moves or removes the marked statement: the mark goes.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (marked_ >= 0 && (removed > 0 || added > 0)) markline(-1);
    });
    setViewportMargins(marginwidth(), 0, 0, 0);
}

int tcodeedit::marginwidth() const
{
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10) ++digits;
    return 10 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(2, digits);
}

void tcodeedit::updatemargin(const QRect& rect, int dy)
{
    if (dy) margin_->scroll(0, dy);
    else margin_->update(0, rect.y(), margin_->width(), rect.height());
}

void tcodeedit::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    margin_->setGeometry(QRect(r.left(), r.top(), marginwidth(), r.height()));
}

void tcodeedit::paintmargin(QPaintEvent* event)
{
    QPainter p(margin_);
    p.fillRect(event->rect(), QColor(236, 236, 236));
    p.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            p.setPen(block.blockNumber() == marked_ ? QColor(190, 0, 0) : QColor(120, 120, 120));
            p.drawText(0, top, margin_->width() - 5, fontMetrics().height(), Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top += height;
    }
}

void tcodeedit::markline(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    marked_ = block.isValid() ? line : -1;
    refreshmark();
    if (marked_ >= 0) {
        QTextCursor c(block);
        setTextCursor(c);
        centerCursor();
    }
    margin_->update();
}

void tcodeedit::setbracketmarks(const QList<QTextEdit::ExtraSelection>& marks)
{
    if (marks.isEmpty() && brackets_.isEmpty()) return;
    brackets_ = marks;
    refreshmark();
}

void tcodeedit::refreshmark()
{
    QList<QTextEdit::ExtraSelection> marks;
    if (marked_ >= 0) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(QColor(255, 214, 214));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(document()->findBlockByNumber(marked_));
        marks.append(mark);
    }
    marks.append(brackets_);
    setExtraSelections(marks);
}

}  // namespace quor
