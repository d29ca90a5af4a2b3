#pragma once

// Makes the board view the receiver of the engine's drawing, timer and table requests.
void connectEngineToView();
