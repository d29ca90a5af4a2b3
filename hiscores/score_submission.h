#pragma once

#include "shell/services.h"

constexpr char kNoSocketsText[] = "Could net setup sockets";
constexpr char kNotSentText[] = "Could not send scores to server";
constexpr char kNoOnlineCaption[] = "No Online HST";
constexpr char kViewOnlineText[] = "Would you like to view the online scoreboard?";
constexpr char kViewOnlineCaption[] = "View online?";

// How long a submission waits before it gives up on the connection, and on the reply to a
// request already sent (which still counts as success).
constexpr int kConnectTimeoutMs = 10000;
constexpr int kReplyTimeoutMs = 5000;

// Sends the whole local table to the hiscore server and reports the outcome in message boxes
// owned by `owner`. Only the five competition levels submit; otherwise nothing happens.
void submitScores(WindowRef owner);
