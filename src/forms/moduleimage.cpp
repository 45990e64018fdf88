#include "forms/moduleimage.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <limits>

namespace forms {
namespace {

// The loaded segments of `bytes`, through `visit(offset, size)`; false when `bytes` is no 64-bit
// ELF file whose program headers it holds whole.
template <typename Visit> bool forEachLoaded(const QByteArray &bytes, Visit visit)
{
    Elf64_Ehdr header;
    if (bytes.size() < qsizetype(sizeof header))
        return false;
    std::memcpy(&header, bytes.constData(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_phentsize != sizeof(Elf64_Phdr) ||
        header.e_phoff > quint64(bytes.size()) ||
        header.e_phnum > (quint64(bytes.size()) - header.e_phoff) / sizeof(Elf64_Phdr))
        return false;
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        std::memcpy(&segment, bytes.constData() + header.e_phoff + i * sizeof segment,
                    sizeof segment);
        if (segment.p_type == PT_LOAD && !visit(segment.p_offset, segment.p_filesz))
            return false;
    }
    return true;
}

} // namespace

qint64 loadedEnd(const QByteArray &bytes)
{
    quint64 end = 0;
    const bool read = forEachLoaded(bytes, [&end](quint64 offset, quint64 size) {
        if (size > std::numeric_limits<qint64>::max() - offset)
            return false;
        end = std::max(end, offset + size);
        return true;
    });
    return read ? qint64(end) : 0;
}

QByteArray loadedDigest(const QByteArray &bytes)
{
    const qint64 end = loadedEnd(bytes);
    if (end == 0 || end > bytes.size())
        return {};
    QByteArray blanked = bytes.left(end);
    // The section table's place, entry size, count and name index: stripping changes them.
    Elf64_Ehdr *header = reinterpret_cast<Elf64_Ehdr *>(blanked.data());
    header->e_shoff = 0;
    header->e_shentsize = header->e_shnum = header->e_shstrndx = 0;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    forEachLoaded(blanked, [&](quint64 offset, quint64 size) {
        hash.addData(QByteArrayView(blanked.constData() + offset, qsizetype(size)));
        return true;
    });
    return hash.result().toHex();
}

} // namespace forms
