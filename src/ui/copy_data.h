#pragma once
// The record a second start sends the working copy with WM_COPYDATA: a command code and a text.
// Portable, so that reading a record from another process is tested and fuzzed natively.
#include <cstddef>
#include <cstdint>
#include <string>

// The command codes.
enum CopyCode : std::uintptr_t { copyOpenPad = 1, copyNewPad = 2, copyFind = 3, copySync = 4 };

// The text of a record: at most `size` bytes from `data`, up to the first zero byte; empty when
// `size` is 0, whatever `data` is. Never reads past `size` bytes.
std::string copy_data_text(const void* data, std::size_t size);

// The bytes a record carries for `text`: the text and its terminating zero, or nothing for an
// empty text.
std::size_t copy_data_size(const std::string& text);
