#pragma once
// The skin library's PNG chunk layer. Only its class registry is live in this program: start-up
// registers the ten chunk layer classes, shut-down frees the registry; nothing consults it.
#include <string>
#include <vector>

// A layer class's chunk name is its class name after the "TbsPngLayer" prefix.
std::string ChunkNameOfLayerClass(const std::string& ClassName);

// Registered class names in registration order; empty before start-up and after shut-down.
const std::vector<std::string>& RegisteredPngLayerClasses();
// Counted: only the first start-up registers, only the matching last shut-down frees.
void StartPngLayerRegistry();
void StopPngLayerRegistry();
