# Read by libpng's own build right after its project() call. libpng builds its SSE2 row filters for
# processors whose names start with "86", "i86" or "x86_64", which misses "i686"; SSE2 is the program's
# floor anyway.
set(CMAKE_SYSTEM_PROCESSOR i86)
