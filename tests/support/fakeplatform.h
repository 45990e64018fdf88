#pragma once

#include "forms/form.h"
#include "forms/platform.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <utility>

// Records what the windows ask of the desktop and answers at once.
class FakePlatform : public forms::Platform
{
public:
    // What a printed page showed: the window's name and its image as it was printed.
    struct Page
    {
        QString window;
        QImage image;
    };

    Answer messageBox(QWidget *, const QString &text, const QString &title,
                      Buttons buttons = Buttons::Ok) override
    {
        messages.append({text, title});
        if (onMessage)
            onMessage(text);
        if (buttons == Buttons::SaveDiscardCancel)
            return saveAnswer;
        return buttons == Buttons::Ok ? Answer::Ok : answer;
    }
    bool printWindow(QWidget &window) override
    {
        if (onPrint)
            onPrint(window);
        if (failPrint)
            return false;
        pages.append(page(window));
        return true;
    }
    forms::PrintFailure printFailure() const override { return failure; }
    bool hasPrinter() const override { return printerPresent; }
    QString savePdfPath(QWidget *, const QString &folder, const QString &suggested,
                        const QString &title) override
    {
        ++pdfQuestions;
        pdfDialogs.append({folder, suggested, title});
        return pdfPath;
    }
    void note(QWidget *, const QString &text) override { notes.append(text); }
    QString printWindowToPdf(QWidget &window, const QString &path) override
    {
        pdfPages.append({path, page(window)});
        return writePdf ? forms::DesktopPlatform().printWindowToPdf(window, path) : QString();
    }
    bool printPages(const QString &title, const QList<forms::PagePainter> &pages) override
    {
        if (failPrint)
            return false;
        documents.append({title, QString(), images(pages)});
        return true;
    }
    QString printPagesToPdf(const QString &title, const QList<forms::PagePainter> &pages,
                            const QString &path) override
    {
        documents.append({title, path, images(pages)});
        return writePdf ? forms::DesktopPlatform().printPagesToPdf(title, pages, path) : QString();
    }
    QString openDesignPath(QWidget *, const QString &folder, const QString &filter) override
    {
        designFolders.append(folder);
        designFilters.append(filter);
        return openPath;
    }
    QString saveDesignPath(QWidget *, const QString &folder, const QString &filter,
                           const QString &suggested) override
    {
        designFolders.append(folder);
        designFilters.append(filter);
        suggestedNames.append(suggested);
        return savePath;
    }
    QDateTime now() const override { return clock; }
    void exit() override { ++exits; }
    QString openCasesPath(QWidget *, const QString &) override { return openPath; }
    QString saveCasesPath(QWidget *, const QString &, const QString &) override { return savePath; }
    QString programFolder() const override { return folder; }
    void beep() override { ++beeps; }

    // The window painted as printing paints it, at the design size.
    static Page page(QWidget &window)
    {
        QImage image(window.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        window.render(&image);
        auto *form = qobject_cast<forms::Form *>(&window);
        return {form ? form->name() : window.windowTitle(), image};
    }

    // Each page of a document painted on an A4 page at 96 pixels per inch.
    static QList<QImage> images(const QList<forms::PagePainter> &pages)
    {
        QList<QImage> images;
        for (const forms::PagePainter &paint : pages) {
            QImage image(794, 1123, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            paint(painter);
            images << image;
        }
        return images;
    }

    QList<std::pair<QString, QString>> messages;    // text, title
    std::function<void(const QString &)> onMessage; // runs while the box would be open
    int exits = 0;
    int beeps = 0;
    Answer answer = Answer::Yes;
    Answer saveAnswer = Answer::Discard; // the answer to the question before changes are lost
    QString folder;
    std::function<void(QWidget &)> onPrint; // runs as the window is printed
    bool failPrint = false;
    bool printerPresent = true;
    QList<Page> pages;
    forms::PrintFailure failure; // why a failed print failed
    QStringList notes;
    int pdfQuestions = 0;
    // Each PDF save dialog: the folder it started in, the name it proposed, its title.
    struct PdfDialog
    {
        QString folder, name, title;
    };
    QList<PdfDialog> pdfDialogs;
    QString pdfPath;       // the save dialog's answer; empty: cancelled
    bool writePdf = false; // the desktop's own PDF writer writes the file
    QList<std::pair<QString, Page>> pdfPages;
    // A document of several pages, printed (no path) or saved as a PDF file (its path).
    struct Document
    {
        QString title;
        QString path;
        QList<QImage> pages;
    };
    QList<Document> documents;
    QString openPath;           // the open dialog's answer; empty: cancelled
    QString savePath;           // the save dialog's answer; empty: cancelled
    QStringList designFolders;  // the folder each design dialog started in
    QStringList designFilters;  // the filter each design dialog showed
    QStringList suggestedNames; // the name each save dialog suggested
    QDateTime clock{QDate(2024, 3, 5), QTime(14, 7, 9)};
};
