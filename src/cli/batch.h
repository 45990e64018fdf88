#pragma once

// The rows of a CSV file calculated a chunk at a time, by one job or by several at once, and
// written in the order they were read.

#include "cli/csv.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// A record as read, with the line on which it began.
struct CsvRecord
{
    std::vector<std::string> fields; // as many as the reader keeps
    std::size_t fieldCount = 0;      // kept or not
    bool tooLong = false;
    long line = 0;
};

// Appends the lines of the records' output to `out`; returns whether any row failed.
using ChunkJob = std::function<bool(const CsvRecord *records, std::size_t count, std::string &out)>;

// Reads the records left in the reader and hands them to the jobs a chunk at a time. A single
// job runs in this thread. More jobs run in threads of their own, each on one chunk at a time,
// while this thread reads ahead and writes; a job is never run on two chunks at once. The
// output goes to `write` a chunk at a time, in input order whatever the jobs, and memory stays
// flat: at most two chunks a job and one more are read ahead (with a reader that keeps few
// fields a record, or a chunk's records would keep the fields of the longest row each has
// held). A chunk holds up to
// `rowsPerChunk` records (1: each row is written as soon as it is read). Returns whether any
// row failed.
bool runChunks(CsvReader &reader, const std::vector<ChunkJob> &jobs, std::size_t rowsPerChunk,
               const std::function<void(std::string_view text)> &write);

} // namespace cli
