// Unit Qor_filesys: file system (raises EQORFileSysError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/filesys/asc_header.h"
#include "qorkit/filesys/drives.h"
#include "qorkit/filesys/file_copy.h"
#include "qorkit/filesys/file_scan.h"
#include "qorkit/filesys/file_tree_copy.h"
#include "qorkit/filesys/password.h"
#include "qorkit/filesys/path_case.h"
#include "qorkit/filesys/path_names.h"
#include "qorkit/filesys/program_assoc.h"
#include "qorkit/filesys/recycle_bin.h"
#include "qorkit/filesys/system_folders.h"
#include "qorkit/filesys/text_file_tools.h"
#include "qorkit/filesys/text_file_type.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"
