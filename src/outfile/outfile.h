#pragma once

// Every file the programs write goes through here: kiila-calc's --report, the PDF the program
// saves when there is no printer, and the page the program spools for the printer.
//
//   outfile.h / outfile.cpp   the rule (refusal) and the writer (OutputFile); Qt Core only
//
// The rule: a file is written only where nothing but a regular file, or nothing at all, is
// (a link is followed to what it names; a loop of links is refused), and never over a file the
// run reads or writes elsewhere (the same device and inode, however it is named). Each writer
// names the files of its run (`Input`); the rule is checked before anything is written and
// again right before the file replaces what was there. A file that may not be replaced (a
// read-only file system) is refused with the system's reason.
//
// The writer: the bytes go into a new file beside the target, every write is checked to its
// last byte (a full disk, a quota, a device error, a short write), the file is flushed and
// synced, its size checked, and only then renamed over the target. A file that could not be
// written completely never appears under the target's name, and what was there stays.

#include <QList>
#include <QSaveFile>
#include <QString>

#include <optional>
#include <sys/types.h>

namespace outfile {

// A file of the run that no output may replace.
struct Input
{
    QString name; // as a message names it: "standard input", "the input 'rows.csv'"
    dev_t device = 0;
    ino_t inode = 0;
};

// The file at `path`, through links, or the file open on `descriptor`; nothing when there is none.
std::optional<Input> input(const QString &path, const QString &name);
std::optional<Input> input(int descriptor, const QString &name);

// "is a named pipe, not a regular file": the kind of file of `mode`, which is not a regular one.
QString notRegular(mode_t mode);

// Why nothing may be written at `path`: the end of a sentence that begins with the path ("is a
// folder, not a regular file"), one line. Empty when a file may be written there (also when
// nothing is there yet: whether the folder takes it shows when the file is opened).
QString refusal(const QString &path, const QList<Input> &inputs = {});

// A file that appears under its name complete, or not at all. start(), then write into
// device(), then finish(); destroyed without finish(), it leaves no trace.
class OutputFile
{
public:
    explicit OutputFile(const QString &path, QList<Input> inputs = {});

    // The rule, then the new file beside the target; false with failure() set.
    bool start();
    QIODevice *device() { return &m_file; }
    // Every byte written and on the disk, the rule still kept: the file replaces the target.
    // False with failure() set otherwise; the target is then as it was.
    bool finish();
    // Why start(), a write or finish() failed (one line); empty while nothing has.
    QString failure() const { return m_file.failure; }
    QString path() const { return m_file.fileName(); }

private:
    class File : public QSaveFile
    {
    public:
        using QSaveFile::QSaveFile;
        QString failure;
        qint64 written = 0;

        void fail(const QString &why);
        // Why the write or flush just done failed (errno cleared before it); `otherwise` when
        // nothing says.
        QString reason(const QString &otherwise) const;

    protected:
        qint64 writeData(const char *data, qint64 size) override;
    };

    File m_file;
    QList<Input> m_inputs;
};

} // namespace outfile
