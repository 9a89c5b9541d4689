#pragma once

// The icons and pictures live in this static library's resource, which nothing would pull into
// a program by itself; every widget that shows them registers it first (once per process).
void registerUiResources();
