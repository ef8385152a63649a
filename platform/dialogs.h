#pragma once
// Every box and dialog of the desktop programs, behind one interface so tests can script
// the answers. tqtdialogs shows real Qt dialogs; tests use a scripted stand-in.
#include <optional>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include "host.h"

class QWidget;

namespace quor {

// The look of a box: its icon.
enum class tboxkind { information, warning, error };

class tdialogs {
public:
    virtual ~tdialogs() = default;

    // A modal box with one OK button.
    virtual void message(QWidget* parent, tboxkind kind, const QString& caption, const QString& text) = 0;
    // A modal question with Yes and No, or Yes, No and Cancel when withcancel. Closing the
    // box answers No (Yes/No) or Cancel (Yes/No/Cancel).
    virtual tanswer question(QWidget* parent, tboxkind kind, const QString& caption, const QString& text,
                             bool withcancel) = 0;
    // The one-line input box preset with deflt; nullopt when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                         const QString& deflt) = 0;
    // File dialogs. filter is in the Windows form "TXT FILE|*.txt|ALL FILE|*.*" (empty: no
    // filter); an empty title takes the dialog's own. nullopt when cancelled.
    virtual std::optional<QString> openfile(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter) = 0;
    virtual std::optional<QString> savefile(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter) = 0;
    // The folder-browse dialog; nullopt when cancelled.
    virtual std::optional<QString> folder(QWidget* parent, const QString& title, const QString& dir) = 0;
    // Font and colour dialogs preset with the current choice; nullopt when cancelled.
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    virtual std::optional<QColor> colour(QWidget* parent, const QColor& initial) = 0;
    // The application's general error box (errors raised outside a run).
    virtual void errorbox(QWidget* parent, const QString& text) = 0;

    // The clipboard.
    virtual void setcliptext(const QString& text) = 0;
    virtual QString cliptext() = 0;
    virtual void setclipimage(const QImage& image) = 0;

    // Opens a "mailto:" or web address with the desktop's default program; false on failure.
    virtual bool openaddress(const QString& address) = 0;
};

// A Windows file filter "A|*.a|B|*.*" in Qt's form "A (*.a);;B (*)". Empty stays empty.
QString qtfilter(const QString& windowsfilter);

}  // namespace quor
