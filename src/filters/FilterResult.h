#pragma once

#include <cstdint>

// The filters' 16-bit result codes; 0 is success.
using FilterResult = uint16_t;

constexpr FilterResult kFilterSuccess = 0;
constexpr FilterResult kFilterCancelled = 100;    // the progress callback answered non-zero
constexpr FilterResult kFilterBadArgument = 101;  // wrong size word, empty or long name, missing record
constexpr FilterResult kFilterNoMemory = 102;     // a block could not be allocated
constexpr FilterResult kFilterCannotOpen = 201;   // the file cannot be opened
constexpr FilterResult kFilterReadError = 202;    // read error, premature end or malformed data
constexpr FilterResult kFilterJpegError = 309;    // the JPEG library reported an error
constexpr FilterResult kFilterNotPcx = 314;       // not a PCX file, not run-length encoded, unsupported depth
constexpr FilterResult kFilterBadTga = 317;       // TGA too small, bad depth, type or colour map
constexpr FilterResult kFilterCgmStopped = 332;   // the CGM interpreter met an element it cannot handle
constexpr FilterResult kFilterTooManyJpegs = 512; // more than 1024 JPEG pictures in one file
constexpr FilterResult kFilterNotPng = 551;       // no PNG signature, or header values out of range
constexpr FilterResult kFilterPngChunkOrder = 552;
constexpr FilterResult kFilterPngHeaderLength = 553;  // the header chunk is not 13 bytes long
constexpr FilterResult kFilterPngChunkLength = 554;   // PLTE or tRNS of a wrong length
constexpr FilterResult kFilterPngNoHeader = 555;      // image data before the header
constexpr FilterResult kFilterPngFormat = 557;        // a pixel format the row converter does not handle
constexpr FilterResult kFilterTooLarge = 602;         // picture wider or higher than the format allows
constexpr FilterResult kFilterBitmapConversion = 801; // a device bitmap cannot be converted to a DIB
