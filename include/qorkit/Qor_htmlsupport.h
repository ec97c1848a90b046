// Unit Qor_htmlsupport: HTML support (raises EQORError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/html/html_entities.h"
#include "qorkit/html/html_producer.h"
#include "qorkit/html/html_text.h"
#include "qorkit/html/url_coding.h"
