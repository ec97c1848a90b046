// Unit Qor_streams: streams and tagged text (raises EQORError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/streams/mixed_file_stream.h"
#include "qorkit/streams/number_scan.h"
#include "qorkit/streams/stream_binary.h"
#include "qorkit/streams/stream_text.h"
#include "qorkit/streams/tag_scan.h"
