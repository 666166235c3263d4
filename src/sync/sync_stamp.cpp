#include "sync/sync_stamp.h"

#include "support/messages.h"

#include <cstdlib>
#include <ctime>

namespace {

// Ids built without the system's generator in this run.
std::uint32_t local_uuid_counter = 0;

void put_le16(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

Uuid new_uuid() {
    Uuid id{};
    if (!platform::create_uuid(id)) build_local_uuid(id);
    return id;
}

void build_local_uuid(Uuid& id) {
    id.data1 = static_cast<std::uint32_t>(std::time(nullptr));
    id.data2 = static_cast<std::uint16_t>(process_millis() & 0xFFFF);
    id.data3 = static_cast<std::uint16_t>(std::rand());
    put_le16(id.data4, static_cast<std::uint32_t>(platform::process_id()));
    put_le16(id.data4 + 2, ++local_uuid_counter);
    platform::mix_root_listing(id);
}

std::string uuid_to_text(const Uuid& id) {
    std::string text;
    CHECK_CALL(platform::uuid_to_text(id, text));
    return text;
}

Uuid uuid_from_text(const std::string& text) {
    Uuid id{};
    CHECK_CALL(platform::uuid_from_text(text, id));
    return id;
}

bool uuid_less(const Uuid& a, const Uuid& b) { return platform::uuid_compare(a, b) < 0; }

bool uuid_equal(const Uuid& a, const Uuid& b) { return platform::uuid_compare(a, b) == 0; }

SyncStamp::SyncStamp() : id(new_uuid()), time(Timestamp::now()) {}

SyncStamp::SyncStamp(const std::string& id_text, const std::string& time_text)
    : id(uuid_from_text(id_text)), time(Timestamp::from_text(time_text)) {}
