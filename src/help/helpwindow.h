#pragma once

// The help window Form3 and the one place that opens it.
//
//   helpwindow.cpp   Form3: the English help, the Finnish help or the disclaimer, chosen on
//                    each activation by the language tag and the window's mode (its Tag)
//
// Every help and information command of the program opens the window through one Help object,
// so that there is one help window at a time. It receives the language tag; it knows nothing of
// the windows that open it.

#include "forms/form.h"
#include "lang/languages.h"

#include <QPointer>

namespace help {

class HelpWindow : public forms::Form
{
    Q_OBJECT
public:
    explicit HelpWindow(lang::LanguageTag &language, QWidget *parent = nullptr);

    // The mode asking for the disclaimer; "0" when created.
    static constexpr char InfoMode[] = "info";

    void Form_Initialize();
    void Form_Activate();
    void Image1_Click();
    void ImgLanguage_Click(int index);

    // The help of the definition with a line under it pointing to the page below (0), or that
    // page (1): what the program does beyond the help (design files, the menu, printing with
    // details, the keys). Page Down or the wheel turns to it, Page Up or the wheel back.
    void showPage(int page);
    int page() const { return m_page; }

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    void showLanguageText(bool hideDisclaimer);

    lang::LanguageTag &m_language;
    int m_page = 0;
};

// The help window while it is open. It is created when first opened and destroyed when closed;
// the next opening starts again from its definition.
class Help
{
public:
    explicit Help(lang::LanguageTag &language) : m_language(language) {}
    ~Help();
    Help(const Help &) = delete;
    Help &operator=(const Help &) = delete;

    // The help commands: show the window, or bring it to the front as it is.
    void open();
    // The information command: ask for the disclaimer, which the window's activation shows, and
    // show the window.
    void openInfo();

    HelpWindow *window() const { return m_window; }

private:
    lang::LanguageTag &m_language;
    QPointer<HelpWindow> m_window;
};

} // namespace help
