// The count of datagrams the system dropped at a UDP socket because its receive buffer was full,
// as Linux lists it in /proc/net/udp and /proc/net/udp6 (the "drops" column of the socket's row).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

// The drops of the socket with this inode in a table of /proc/net/udp's layout; nothing when
// the table has no such row.
std::optional<std::uint64_t> DropsOfSocketInode(std::string_view table, std::uint64_t inode);

// The drops of an open UDP socket; nothing when the system does not tell.
std::optional<std::uint64_t> SocketDrops(int descriptor);

}  // namespace vantrel
