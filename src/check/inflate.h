// Deflate decompression (RFC 1951), as the cabinet format's MSZIP blocks
// need it: each block a whole deflate stream whose back references may reach
// into the output of the blocks before it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace check {

// Appends the decompressed form of `in` to `out`, whose earlier bytes serve
// as the history of back references. Throws UnreadablePackage with the reason
// when the data is malformed or would grow `out` beyond `limit` bytes.
void Inflate(std::string_view in, std::string& out, std::size_t limit);

}  // namespace check
