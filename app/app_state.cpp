#include "app/app_state.h"

AppState app;

void invalidateDisplays() {
  InvalidateRect(app.mainWindow, &app.levelBar, FALSE);
  InvalidateRect(app.mainWindow, &app.curveArea, FALSE);
}
