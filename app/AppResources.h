#pragma once
// The program's pictures (splash, icons) are compiled into the app library; this makes them
// available before a window uses them.
void InitAppResources();
