// The face of the response window's plots and pictures. A picture names the family it was
// drawn with, so the font asks for the Japanese Gothic faces the package installs and then
// carries the family that was really found: an SVG that names a face the system lacks
// loses its Japanese labels in other viewers.
#ifndef KORVANE_UI_RESPONSE_PLOT_FONTS_H
#define KORVANE_UI_RESPONSE_PLOT_FONTS_H

#include <QFont>

class QChart;

namespace ui {

// IPA P Gothic (else IPA Gothic, else what the system substitutes) under the family name
// QFontInfo resolves it to, at `pixel_size`.
QFont PlotFont(int pixel_size);

// PlotFont on `chart`'s title, legend and on its axes' labels and titles.
void ApplyPlotFont(QChart* chart);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_PLOT_FONTS_H
