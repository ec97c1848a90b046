message(STATUS "packaging test not yet written")
