@rem Stands in for the product's program: it leaves a mark in the folder it was
@rem started in, so a test can tell that Finish ran it there.
@echo started> started.txt
