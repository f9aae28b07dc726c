#pragma once

class QWidget;

// A frame with a caption and no border icons (no close, minimise or maximise buttons).
void UseCaptionOnlyFrame(QWidget &window);

// Moves the window to the centre of the screen it is on (the primary screen before it is shown).
void CentreOnScreen(QWidget &window);
