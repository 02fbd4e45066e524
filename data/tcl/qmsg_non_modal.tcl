# The non-modal message: the program goes on while this window stays open.
source tcl/qdialog.tcl
qMessageDialog [LT 24] ""
