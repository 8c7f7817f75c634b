function ax = talvern_bode(varargin)
%TALVERN_BODE  Plot gain (dB) and phase against frequency on a log axis.
%
%   talvern_bode(file)
%   talvern_bode(f, db, phase)
%   ax = talvern_bode(...)
%
%   Opens a new figure with two subplots: gain in dB against frequency
%   (upper) and phase in degrees against frequency (lower), frequency on a
%   logarithmic axis, grids on. file is a 3-column gain export read with
%   talvern_read; f (Hz), db and phase (degrees) are vectors of one length.
%   ax holds the two axes handles [gain; phase], for adding titles, limits
%   or further curves (hold(ax(1), 'on')).
%
%   For a Voltage Format (5-column) export, first compute the transfer
%   between two nodes:
%     [f, db, ph] = talvern_node_transfer('nodes.dat', 2, 1);
%     talvern_bode(f, db, ph)
%
%   Example:
%     talvern_bode('filter.dat');
%     [f, db, ph] = talvern_read('filter.dat');
%     ax = talvern_bode(f, db, ph);  title(ax(1), 'Low-pass filter')
%
%   See also TALVERN_READ, TALVERN_IMPEDANCE, TALVERN_NYQUIST.

[f, db, phase] = data_input('talvern_bode', true, varargin{:});
ax = plot_with_phase('Gain and phase', f, db, 'Gain (dB)', false, phase);
if nargout == 0
    clear ax;
end
end
