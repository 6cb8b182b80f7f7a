// One copy at a time: two would both open the link and write opposite zooms to the same cameras.
#pragma once

// Takes the one-copy mutex of the user's session; true when another copy holds it, whose window is then brought
// forward (About with it, when open).
bool anotherCopyRuns();
