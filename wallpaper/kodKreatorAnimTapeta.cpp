// The wallpaper wizard lives here.
