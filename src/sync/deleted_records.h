#pragma once
// The deletion records of a pad in its file, and their expiry.
#include "sync/sync_stamp.h"

#include <cstdint>
#include <string>
#include <vector>

class Mapfile;

// Above this many records a save first drops those older than deleted_keep_days.
inline constexpr std::size_t deleted_purge_threshold = 200;
inline constexpr std::int32_t deleted_keep_days = 100;

// Erases the records older than `days`, keeping the order of the rest.
void purge_records(std::vector<SyncStamp>& records, std::int32_t days);
// Writes "<prefix><i>_ID" and "<prefix><i>_TS" for each record from 0, after purging `records`
// as above when there are more than the threshold.
void write_records(Mapfile& file, const std::string& prefix, std::vector<SyncStamp>& records);
// Appends the records stored from index 0 up to the first missing key.
void read_records(Mapfile& file, const std::string& prefix, std::vector<SyncStamp>& records);
