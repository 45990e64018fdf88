#pragma once

// The rows of a CSV file calculated a chunk at a time, by one job or by several at once, and
// written in the order they were read.

#include "cli/csv.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// A record as its fields were read, with the line on which it began.
struct CsvRecord
{
    std::vector<std::string> fields; // as many as the reader keeps
    std::size_t fieldCount = 0;      // kept or not
    bool tooLong = false;
    long line = 0;
};

// A record as cut from the input: its bytes in the chunk's text.
struct RawRecord
{
    std::size_t offset = 0;
    std::size_t size = 0;
    long line = 0;        // the line on which it began
    bool tooLong = false; // beyond CsvSplitter::MaxRecord: no bytes
};

// Appends the lines of the records' output to `out`; returns whether any row failed. The records'
// bytes lie in `text`.
using ChunkJob = std::function<bool(std::string_view text, const RawRecord *records,
                                    std::size_t count, std::string &out)>;

// Cuts the records left in the input and hands them to the jobs a chunk at a time, as bytes: the
// jobs split them into fields, read, calculate and write them. A single job runs in this thread.
// More jobs run in threads of their own, each on one chunk at a time, while this thread only
// cuts records and writes the chunks that are done; a job is never run on two chunks at once.
// The output goes to `write` a chunk at a time, in input order whatever the jobs, and memory
// stays flat: at most two chunks a job and one more are read ahead. A chunk holds up to
// `rowsPerChunk` records (1: each row is written as soon as it is read). Returns whether any
// row failed.
bool runChunks(CsvSplitter &splitter, const std::vector<ChunkJob> &jobs, std::size_t rowsPerChunk,
               const std::function<void(std::string_view text)> &write);

} // namespace cli
