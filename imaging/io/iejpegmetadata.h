#pragma once
// What a JPEG save does to the parameters' marker list before the writer sorts and writes it:
// the resolution written into the Photoshop resource block, and the IPTC, EXIF and XMP
// markers rebuilt from the parameters' current values.
class TIOParamsVals;

// Writes DpiX and DpiY into the Photoshop resolution resource (8BIM 0x03ED) of the first APP13
// marker, when there is one and the resource fits inside it.
void IEUpdatePhotoshopResolution(TIOParamsVals& Params);

// IPTC: when the user changed the datasets, or there are datasets and no markers, the first
// APP13 marker becomes their Photoshop block (or is deleted when there are none). EXIF: with
// ExifPresent the EXIF APP1 markers are replaced by one built from the values. XMP: the first
// XMP APP1 marker is replaced by one of XmpInfo (or deleted when it is empty).
// A block too long for one marker leaves the markers of its kind as they were.
void IEUpdateJpegMetadataMarkers(TIOParamsVals& Params);
