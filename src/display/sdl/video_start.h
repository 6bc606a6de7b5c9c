#pragma once
// Starting and stopping SDL's video for a back end.

// Whether frames shown through this video driver reach a viewer. Drivers that
// draw into memory only count as showing when the user named them in
// SDL_VIDEODRIVER (requestedDrivers, null when unset).
bool videoDriverShowsPicture(const char* driverName, const char* requestedDrivers);

// Starts SDL's video subsystem. False when it cannot start or when SDL fell
// back to a driver that shows nothing (as it does when no display is reachable).
bool startVideo();
void stopVideo();
