hidden
