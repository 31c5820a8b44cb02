#pragma once
// How the further-formats library joins the input/output library: IEFormatsInstall, called once
// before the imaging library's start-up, sets the registration procedure that the format
// registry's start-up runs, which puts this library's procedures (BMP reader and writer, PNG
// writer) into IEFormatProcs, and hands the GIF and TIFF LZW codecs to the I/O start-up. Calling
// it again changes nothing.
void IEFormatsInstall();
