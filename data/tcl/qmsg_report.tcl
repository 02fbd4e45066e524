# The modal error report: like the error message, with a hint at the report file quoit.err.
source tcl/qdialog.tcl
qMessageDialog [LT 23] [LT 27]
