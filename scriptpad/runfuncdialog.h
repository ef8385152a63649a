#pragma once
// Trunfuncdialog debugs one function of the editor text: initialisation statements give the
// parameters values, the body runs in a variable list of its own, and a report lists the
// output and every variable. The body can be edited and sent back into the editor text.
#include <memory>
#include <string>
#include <vector>

#include <QDialog>
#include <QPlainTextEdit>

#include "funclist.h"
#include "widgetmemo.h"

class QAction;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace quor {

class Thotleg;

// The address the report and the about box invite mail to, and the project's web page.
inline constexpr const char* contactaddress = "quor-users@example.org";
inline constexpr const char* webaddress = "https://quor.example.org";

// The first line of the initialisation memo until the user enters it.
inline const QString placeholderline = QStringLiteral("在这里给函数的参数初始化");

class Trunfuncdialog : public QDialog {
public:
    explicit Trunfuncdialog(Thotleg& editor);
    ~Trunfuncdialog() override;

    // Loads the function whose head is editor line first and whose end line is last.
    void loadfunction(int first, int last);
    // Replaces the function's body in the editor text by the body memo, wholly or (with the
    // error box) not at all; false when it did not.
    bool sendback();

    void FormShow();
    void selbtnClick();
    void sendbkbtnClick();
    void saverptbtnClick();
    void runbtnClick();
    void quitbtnClick();
    void stopClick();
    void initializtionmemoEnter();
    void argumentmemoClick();
    void cutbtnClick();
    void pastebtnClick();
    void fontbtnClick();

    const tfuncitem& funcitem() const { return funcitem_; }
    int headline() const { return headline_; }
    int endline() const { return endline_; }
    bool running() const { return running_; }

    QLineEdit* funcbar = nullptr;
    QComboBox* funcselbox = nullptr;
    QPlainTextEdit* initializtionmemo = nullptr;
    QPlainTextEdit* argumentmemo = nullptr;
    QPlainTextEdit* resultmemo = nullptr;
    QToolButton* runbtn = nullptr;
    QAction* runaction = nullptr;
    QAction* stopaction = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void funcbarChange();
    void setrunning(bool on);
    // The report of one run into resultmemo.
    void report();
    void info(const QString& text);

    Thotleg& editor_;
    tfuncitem funcitem_;
    int headline_ = 0;
    int endline_ = 0;
    bool running_ = false;
    // What the user asked for during a run, done when it has ended.
    enum class tpending { none, close, quit } pending_ = tpending::none;
    std::unique_ptr<twidgetmemo> memo_;
};

}  // namespace quor
