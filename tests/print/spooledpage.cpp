#include "spooledpage.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <optional>

namespace spooled {
namespace {

std::optional<QString> run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

int pageCount(const QString &pdf)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = pages.match(run("pdfinfo", {pdf}).value_or(QString()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString text(const QString &pdf, int page)
{
    QStringList arguments;
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run("pdftotext", arguments << pdf << "-").value_or(QString()).simplified();
}

QImage image(const QString &pdf, int dpi)
{
    QTemporaryDir folder;
    const QString base = folder.filePath(QStringLiteral("page"));
    if (!folder.isValid() ||
        !run("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", pdf, base}))
        return {};
    return QImage(base + ".png");
}

double darkShare(const QImage &image, const QRect &area)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty())
        return 0.0;
    int dark = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return double(dark) / (inside.width() * inside.height());
}

} // namespace spooled
