#pragma once

#include "print/report_form.h"

#include <QString>

class QPagedPaintDevice;
class QPainter;

// The installed face a form's font name stands for: Arial and Times New Roman resolve to their
// metric twins Liberation Sans and Liberation Serif, Tahoma and Verdana to DejaVu Sans; other
// names are kept.
QString ResolveFontFamily(const QString &family);

// Sets the device's page (paper, orientation, no margins: the form places everything itself)
// and paints every laid-out page on it, one device page each. False when the device cannot be
// painted on.
bool PaintFormLayout(const FormLayout &layout, QPagedPaintDevice &device);

// Paints one laid-out page with the painter, whose device shows the whole paper.
void PaintFormPage(const FormLayout &layout, int page, QPainter &painter);

// Lays the form out (running its hooks) and paints it; the number of pages, 0 on failure.
int RenderForm(ReportForm &form, QPagedPaintDevice &device);

// Writes the form as a PDF file (fonts embedded). False, with the reason in error, when the file
// cannot be written. The file is replaced in one step: a failed run leaves an older file as it was.
bool WriteFormPdf(ReportForm &form, const QString &path, QString *error = nullptr);
bool WriteLayoutPdf(const FormLayout &layout, const QString &path, const QString &title, QString *error = nullptr);
