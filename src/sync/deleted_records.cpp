#include "sync/deleted_records.h"

#include "storage/mapfile.h"

#include <algorithm>
#include <ctime>

namespace {

std::string record_key(const std::string& prefix, std::size_t index, const char* suffix) {
    return prefix + std::to_string(index) + suffix;
}

}  // namespace

void purge_records(std::vector<SyncStamp>& records, std::int32_t days) {
    const long long limit = static_cast<long long>(days) * 86400;
    std::erase_if(records, [limit](const SyncStamp& record) {
        auto now = static_cast<std::uint32_t>(std::time(nullptr));
        // The age as a 32-bit difference, as the seconds field itself wraps.
        auto age = static_cast<std::int32_t>(now - static_cast<std::uint32_t>(record.time.seconds));
        return age > limit;
    });
}

void write_records(Mapfile& file, const std::string& prefix, std::vector<SyncStamp>& records) {
    if (records.size() > deleted_purge_threshold) purge_records(records, deleted_keep_days);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SyncStamp& record = records[i];
        file.put(record_key(prefix, i, "_ID"), record.id_text());
        file.put(record_key(prefix, i, "_TS"), record.time_text());
    }
}

void read_records(Mapfile& file, const std::string& prefix, std::vector<SyncStamp>& records) {
    for (std::size_t i = 0;; ++i) {
        std::string id_text, time_text;
        try {
            id_text = file.get(record_key(prefix, i, "_ID"));
            time_text = file.get(record_key(prefix, i, "_TS"));
        } catch (const Mapfile::no_such_key&) {
            return;
        }
        records.emplace_back(id_text, time_text);
    }
}
