#pragma once
// Dialogs for tests: every box and dialog is recorded in order as one line, and answered
// from a queue. An empty queue answers Cancel (or No for Yes/No questions), so a test
// that forgot an answer fails on its events instead of waiting on a window.
#include <deque>
#include <string>
#include <vector>

#include "dialogs.h"

namespace quortest {

class scripteddialogs : public quor::tdialogs {
public:
    // "message: CAPTION|TEXT", "question: CAPTION|TEXT", "input: CAPTION|PROMPT|DEFAULT",
    // "open: TITLE|DIR|FILTER", "save: TITLE|DIR|FILTER", "folder: TITLE|DIR", "font: FAMILY",
    // "colour: #rrggbb", "error: TEXT", "address: A"; warnings and error-kind boxes say
    // "warning:"/"errorkind:" in place of "message:"/"question:".
    std::vector<std::string> events;
    // Answers in order: "yes", "no", "cancel" for questions; texts for input and file,
    // folder dialogs ("<cancel>" cancels); "#rrggbb" for colours; "Family,points" or
    // "Family,points,bold" for fonts.
    std::deque<std::string> answers;
    QString clipboardtext;
    QImage clipboardimage;
    bool addressopens = true;

    void message(QWidget*, quor::tboxkind kind, const QString& caption, const QString& text) override
    {
        events.push_back(prefix(kind, "message") + caption.toStdString() + "|" + text.toStdString());
    }
    quor::tanswer question(QWidget*, quor::tboxkind kind, const QString& caption, const QString& text,
                           bool withcancel) override
    {
        events.push_back(prefix(kind, "question") + caption.toStdString() + "|" + text.toStdString());
        const std::string a = next();
        if (a == "yes") return quor::tanswer::yes;
        if (a == "no") return quor::tanswer::no;
        return withcancel ? quor::tanswer::cancel : quor::tanswer::no;
    }
    std::optional<QString> input(QWidget*, const QString& caption, const QString& prompt,
                                 const QString& deflt) override
    {
        events.push_back("input: " + caption.toStdString() + "|" + prompt.toStdString() + "|" +
                         deflt.toStdString());
        return text();
    }
    std::optional<QString> openfile(QWidget*, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        events.push_back("open: " + title.toStdString() + "|" + dir.toStdString() + "|" + filter.toStdString());
        return text();
    }
    std::optional<QString> savefile(QWidget*, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        events.push_back("save: " + title.toStdString() + "|" + dir.toStdString() + "|" + filter.toStdString());
        return text();
    }
    std::optional<QString> folder(QWidget*, const QString& title, const QString& dir) override
    {
        events.push_back("folder: " + title.toStdString() + "|" + dir.toStdString());
        return text();
    }
    std::optional<QFont> font(QWidget*, const QFont& initial) override
    {
        events.push_back("font: " + initial.family().toStdString());
        const auto a = text();
        if (!a) return std::nullopt;
        const QStringList parts = a->split(',');
        QFont f(parts.value(0), parts.value(1, "8").toInt());
        f.setBold(parts.value(2) == "bold");
        return f;
    }
    std::optional<QColor> colour(QWidget*, const QColor& initial) override
    {
        events.push_back("colour: " + initial.name().toStdString());
        const auto a = text();
        if (!a) return std::nullopt;
        return QColor(*a);
    }
    void errorbox(QWidget*, const QString& text) override { events.push_back("error: " + text.toStdString()); }
    void setcliptext(const QString& text) override { clipboardtext = text; }
    QString cliptext() override { return clipboardtext; }
    void setclipimage(const QImage& image) override { clipboardimage = image; }
    bool openaddress(const QString& address) override
    {
        events.push_back("address: " + address.toStdString());
        return addressopens;
    }

private:
    static std::string prefix(quor::tboxkind kind, const char* plain)
    {
        if (kind == quor::tboxkind::warning) return "warning: ";
        if (kind == quor::tboxkind::error) return "errorkind: ";
        return std::string(plain) + ": ";
    }
    std::string next()
    {
        if (answers.empty()) return "";
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> text()
    {
        if (answers.empty()) return std::nullopt;
        const std::string a = next();
        if (a == "<cancel>") return std::nullopt;
        return QString::fromStdString(a);
    }
};

}  // namespace quortest
