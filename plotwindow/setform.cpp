#include "setform.h"

#include <climits>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs.h"
#include "fault.h"
#include "numfilter.h"
#include "numtext.h"
#include "qtdialogs.h"
#include "qtlooks.h"

namespace quor {

namespace {

QSpinBox* spin(int lo, int hi)
{
    auto* s = new QSpinBox;
    s->setRange(lo, hi);
    return s;
}

QComboBox* list(const char* const* items, int n)
{
    auto* c = new QComboBox;
    c->setEditable(true);   // a typed text that is none of the items names nothing
    for (int i = 0; i < n; ++i) c->addItem(QString::fromLatin1(items[i]));
    return c;
}

QGroupBox* group(const QString& title, QLayout* layout)
{
    auto* g = new QGroupBox(title);
    g->setLayout(layout);
    return g;
}

// The list position of the combo's text among its items; -1 when it is none of them.
int position(const QComboBox* c) { return c->findText(c->currentText(), Qt::MatchFixedString | Qt::MatchCaseSensitive); }

QString qtext(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Tsetform::Tsetform(tdialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setWindowTitle("Rozez Property");
    setObjectName("Tsetform");
    auto* tabs = new QTabWidget;

    // "坐标设置"
    viewminx = spin(INT_MIN, INT_MAX);
    viewmaxx = spin(INT_MIN, INT_MAX);
    viewminy = spin(INT_MIN, INT_MAX);
    viewmaxy = spin(INT_MIN, INT_MAX);
    fixedrectbox = new QCheckBox(QStringLiteral("人工设置"));
    auto* view = new QFormLayout;
    view->addRow("Min X", viewminx);
    view->addRow("Max X", viewmaxx);
    view->addRow("Min Y", viewminy);
    view->addRow("Max Y", viewmaxy);
    view->addRow(fixedrectbox);
    rangemin = new QLineEdit;
    rangemax = new QLineEdit;
    installnumfilter(rangemin);
    installnumfilter(rangemax);
    fixedrangebox = new QCheckBox("Set Manually");
    auto* range = new QFormLayout;
    range->addRow("Min X", rangemin);
    range->addRow("Max X", rangemax);
    range->addRow(fixedrangebox);
    xtitleedit = new QLineEdit;
    ytitleedit = new QLineEdit;
    titleedit = new QLineEdit;
    axisfontbtn = new QPushButton(QStringLiteral("坐标字体"));
    drawaxisbox = new QCheckBox(QStringLiteral("绘出坐标"));
    auto* axes = new QFormLayout;
    axes->addRow("X Axis Title", xtitleedit);
    axes->addRow("Y Axis Title ", ytitleedit);
    axes->addRow("Title", titleedit);
    auto* axisrow = new QHBoxLayout;
    axisrow->addWidget(axisfontbtn);
    axisrow->addWidget(drawaxisbox);
    axes->addRow(axisrow);
    xstepspin = spin(10, 200);
    ystepspin = spin(10, 200);
    auto* steps = new QFormLayout;
    steps->addRow("X Step", xstepspin);
    steps->addRow("Y Step", ystepspin);
    auto* coordpage = new QWidget;
    auto* coordgrid = new QGridLayout(coordpage);
    coordgrid->addWidget(group(QStringLiteral("视图坐标"), view), 0, 0, 2, 1);
    coordgrid->addWidget(group(QStringLiteral("逻辑范围"), range), 0, 1);
    coordgrid->addWidget(group(QStringLiteral("刻度步长"), steps), 1, 1);
    coordgrid->addWidget(group(QStringLiteral("坐标绘图"), axes), 0, 2, 2, 1);
    tabs->addTab(coordpage, QStringLiteral("坐标设置"));

    // "文本"
    captionedit = new QLineEdit;
    textfontbtn = new QPushButton(QStringLiteral("文本字体"));
    descmemo = new QPlainTextEdit;
    descmemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    descmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* desc = new QVBoxLayout;
    desc->addWidget(descmemo);
    auto* textpage = new QWidget;
    auto* textlayout = new QGridLayout(textpage);
    textlayout->addWidget(new QLabel(QStringLiteral("绘图板标题")), 0, 0);
    textlayout->addWidget(captionedit, 0, 1);
    textlayout->addWidget(textfontbtn, 0, 2);
    textlayout->addWidget(group(QStringLiteral("函数描述"), desc), 1, 0, 1, 3);
    tabs->addTab(textpage, QStringLiteral("文本"));

    // "绘图风格"
    constexpr int modes = int(std::size(modeitems)), styles = int(std::size(styleitems));
    axiswidth = spin(1, 50);
    axismode = list(modeitems, modes);
    axisstyle = list(styleitems, styles);
    axiscolourbtn = new QPushButton(QStringLiteral("颜色"));
    auto* axispen = new QFormLayout;
    axispen->addRow(QStringLiteral("宽度"), axiswidth);
    axispen->addRow(QStringLiteral("模式"), axismode);
    axispen->addRow(QStringLiteral("风格"), axisstyle);
    axispen->addRow(axiscolourbtn);
    funcwidth = spin(1, 50);
    funcmode = list(modeitems, modes);
    funcstyle = list(styleitems, styles);
    funccolourbtn = new QPushButton(QStringLiteral("颜色"));
    bkcolourbtn = new QPushButton(QStringLiteral("背景颜色"));
    auto* funcpen = new QFormLayout;
    funcpen->addRow(QStringLiteral("宽度"), funcwidth);
    funcpen->addRow(QStringLiteral("模式"), funcmode);
    funcpen->addRow(QStringLiteral("风格"), funcstyle);
    auto* colours = new QHBoxLayout;
    colours->addWidget(funccolourbtn);
    colours->addWidget(bkcolourbtn);
    funcpen->addRow(colours);
    auto* stylepage = new QWidget;
    auto* stylelayout = new QHBoxLayout(stylepage);
    stylelayout->addWidget(group(QStringLiteral("坐标绘图设置"), axispen));
    stylelayout->addWidget(group(QStringLiteral("函数图像绘图风格"), funcpen));
    tabs->addTab(stylepage, QStringLiteral("绘图风格"));

    // "函数"
    exprview = new QLineEdit;
    exprview->setReadOnly(true);
    varview = new QLineEdit;
    varview->setReadOnly(true);
    auto* expr = new QFormLayout;
    expr->addRow(QStringLiteral("函数表达式"), exprview);
    expr->addRow(QStringLiteral("自变量"), varview);
    auto* funcpage = new QWidget;
    auto* funclayout = new QVBoxLayout(funcpage);
    funclayout->addWidget(group("Expression", expr));
    funclayout->addStretch();
    tabs->addTab(funcpage, QStringLiteral("函数"));

    okbtn = new QPushButton("OK");
    cancelbtn = new QPushButton("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbtn);
    buttons->addWidget(cancelbtn);
    auto* main = new QVBoxLayout(this);
    main->addWidget(tabs);
    main->addLayout(buttons);
    // A fixed dialog border: the client area as designed, or larger where the controls
    // need it.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setfixedclient(*this, QSize(453, 299));

    connect(fixedrectbox, &QCheckBox::toggled, this, [this] { applyenabling(); });
    connect(fixedrangebox, &QCheckBox::toggled, this, [this] { applyenabling(); });
    connect(drawaxisbox, &QCheckBox::toggled, this, [this] { applyenabling(); });
    connect(axisfontbtn, &QPushButton::clicked, this, [this] { choosefont(working_.axisfont); });
    connect(textfontbtn, &QPushButton::clicked, this, [this] { choosefont(working_.labelfont); });
    connect(axiscolourbtn, &QPushButton::clicked, this, [this] { choosecolour(working_.axispen.colour); });
    connect(funccolourbtn, &QPushButton::clicked, this, [this] { choosecolour(working_.funcpen.colour); });
    connect(bkcolourbtn, &QPushButton::clicked, this, [this] { choosecolour(working_.setting.colour); });
    connect(okbtn, &QPushButton::clicked, this, [this] { okclick(); });
    connect(cancelbtn, &QPushButton::clicked, this, [this] { reject(); });
}

void Tsetform::fill()
{
    const tpaintsetting& s = working_.setting;
    viewminx->setValue(s.view.left);
    viewmaxx->setValue(s.view.right);
    viewminy->setValue(s.view.top);
    viewmaxy->setValue(s.view.bottom);
    fixedrectbox->setChecked(s.view.fixedrect);
    rangemin->setText(qtext(numtotext(s.view.xmin)));
    rangemax->setText(qtext(numtotext(s.view.xmax)));
    fixedrangebox->setChecked(s.view.fixedrange);
    xtitleedit->setText(qtext(s.xtitle));
    ytitleedit->setText(qtext(s.ytitle));
    titleedit->setText(qtext(s.title));
    drawaxisbox->setChecked(s.drawaxis);
    xstepspin->setValue(s.view.xstep);
    ystepspin->setValue(s.view.ystep);
    captionedit->setText(qtext(s.caption));
    exprview->setText(qtext(expressiontext));
    varview->setText(qtext(variabletext));
    // A mode beyond the list's items shows no item.
    auto showpen = [](const tpen& pen, QSpinBox* width, QComboBox* mode, QComboBox* style) {
        width->setValue(pen.width);
        const int m = int(pen.mode);
        mode->setCurrentIndex(m < mode->count() ? m : -1);
        if (m >= mode->count()) mode->setEditText(QString());
        style->setCurrentIndex(int(pen.style));
    };
    showpen(working_.funcpen, funcwidth, funcmode, funcstyle);
    showpen(working_.axispen, axiswidth, axismode, axisstyle);
    QStringList lines;
    for (const std::string& line : working_.description) lines << qtext(line);
    descmemo->setPlainText(lines.join('\n'));
    confirmed_ = false;
    applyenabling();
}

void Tsetform::applyenabling()
{
    for (QWidget* w : {static_cast<QWidget*>(viewminx), static_cast<QWidget*>(viewmaxx),
                       static_cast<QWidget*>(viewminy), static_cast<QWidget*>(viewmaxy)})
        w->setEnabled(fixedrectbox->isChecked());
    rangemin->setEnabled(fixedrangebox->isChecked());
    rangemax->setEnabled(fixedrangebox->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(xtitleedit), static_cast<QWidget*>(ytitleedit),
                       static_cast<QWidget*>(titleedit), static_cast<QWidget*>(xstepspin),
                       static_cast<QWidget*>(ystepspin)})
        w->setEnabled(drawaxisbox->isChecked());
}

void Tsetform::okclick()
{
    tpaintsetting& s = working_.setting;
    try {
        s.view.left = viewminx->value();
        s.view.right = viewmaxx->value();
        s.view.top = viewminy->value();
        s.view.bottom = viewmaxy->value();
        s.view.fixedrect = fixedrectbox->isChecked();
        for (auto [edit, target] : {std::pair{rangemin, &s.view.xmin}, std::pair{rangemax, &s.view.xmax}}) {
            const std::string text = edit->text().toStdString();
            double v = 0;
            if (!texttonumber(text, v, false)) throw tfault("Invalid float " + text);
            *target = v;
        }
    } catch (const tfault& e) {
        dialogs_.errorbox(this, QString::fromStdString(e.text()));
        reject();
        return;
    }
    s.view.fixedrange = fixedrangebox->isChecked();
    s.xtitle = xtitleedit->text().toStdString();
    s.ytitle = ytitleedit->text().toStdString();
    s.title = titleedit->text().toStdString();
    s.view.xstep = xstepspin->value();
    s.view.ystep = ystepspin->value();
    s.drawaxis = drawaxisbox->isChecked();
    s.caption = captionedit->text().toStdString();
    expressiontext = exprview->text().toStdString();
    variabletext = varview->text().toStdString();
    // A text that is none of the list's items names no mode or style: the pen keeps its own.
    auto readpen = [](tpen& pen, QSpinBox* width, QComboBox* mode, QComboBox* style) {
        pen.width = width->value();
        if (const int m = position(mode); m >= 0) pen.mode = trastermode(m);
        if (const int st = position(style); st >= 0) pen.style = tpenstyle(st);
    };
    readpen(working_.funcpen, funcwidth, funcmode, funcstyle);
    readpen(working_.axispen, axiswidth, axismode, axisstyle);
    working_.description.clear();
    const QString text = descmemo->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split('\n')) working_.description.push_back(line.toStdString());
    confirmed_ = true;
    accept();
}

void Tsetform::choosefont(tfont& f)
{
    if (const auto chosen = dialogs_.font(this, dialogfont(f))) f = fromdialogfont(*chosen, f.colour);
}

void Tsetform::choosecolour(tcolour& c)
{
    if (const auto chosen = dialogs_.colour(this, qcolour(c))) c = fromqcolour(*chosen);
}

}  // namespace quor
