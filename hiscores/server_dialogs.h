#pragma once

// Edit where online hiscores go, in the settings held in memory.
void runSetProxyDialog();
void runSetServerDialog();

constexpr char kInvalidPortText[] = "Please enter a number for the port";
constexpr char kInvalidPortCaption[] = "Invalid port number";
// What an empty proxy address is stored as.
constexpr char kNoProxyAddress[] = "NULL";
