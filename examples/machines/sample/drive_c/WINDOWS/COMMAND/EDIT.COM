edit
