#pragma once

#include <cstddef>
#include <cstdint>

// Copies `pixels` 3-byte pixels from `from` to `to` (which must not overlap), exchanging the
// first and third byte of each: R,G,B in a file becomes B,G,R in memory and back. Uses SSSE3
// byte shuffles where the processor has them; the result is the same either way.
void CopySwappingRedBlue(std::uint8_t* to, const std::uint8_t* from, std::size_t pixels);

// The plain byte-by-byte form, the reference the fast form must match.
void CopySwappingRedBluePortable(std::uint8_t* to, const std::uint8_t* from, std::size_t pixels);
