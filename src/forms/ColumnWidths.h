#pragma once

class QFontMetrics;

// Stored column widths are twips, set for a 9-point UI font that draws a half-width digit
// 6 pixels and a full-width character 12 pixels wide at 96 dpi. A list drawn in another
// font grows each width by how much wider that font draws the same texts, so the stored
// widths (which stay twips) show what they were chosen to show.
int columnPixels(int twips, const QFontMetrics& metrics);
