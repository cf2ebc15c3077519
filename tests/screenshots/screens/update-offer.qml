import Vorna.Screenshots

// The launch check finds the sample service's newer release: the offer, its notes and the Linux advice, with
// "下载" ready for Return.
UpdateWindow {}
